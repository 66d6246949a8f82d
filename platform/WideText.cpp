#include "platform/WideText.h"

#include <cstdint>

#include "platform/TextCoding.h"

namespace {

constexpr std::uint32_t replacement = 0xFFFD;

// How many bytes at `at` begin some well-formed sequence without completing it:
// they are replaced together. The second byte's range is narrower than 80..BF
// after the leads whose sequences could be overlong, surrogates or too large.
std::size_t illFormedLength(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 1;
    }
    std::size_t taken = 1;
    for (; taken < length && at + taken < bytes.size(); ++taken) {
        const auto next = static_cast<unsigned char>(bytes[at + taken]);
        if (next < low || next > high) break;
        low = 0x80;
        high = 0xBF;
    }
    return taken;
}

void appendUtf16(std::u16string& out, std::uint32_t codePoint) {
    if (codePoint < 0x10000) {
        out += static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(text, at, codePoint);
        if (length == 0) {
            out += static_cast<char16_t>(replacement);
            at += illFormedLength(text, at);
        } else {
            appendUtf16(out, codePoint);
            at += length;
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at];
        if (isHighSurrogate(unit) && at + 1 < text.size() && isLowSurrogate(text[at + 1])) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800u) << 10) + (text[at + 1] - 0xDC00u));
            ++at;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, replacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}
