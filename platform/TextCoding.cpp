#include "platform/TextCoding.h"

#include <array>
#include <cstring>

namespace {

// 0x80 to 0x9F; the rest of the upper half equals Latin-1.
constexpr std::array<std::uint16_t, 32> upperControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isContinuation(std::string_view bytes, std::size_t at) {
    return at < bytes.size() && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80;
}

// The first byte at or after `from` with its high bit set; the size when none is.
// Eight bytes at a time: card files are mostly ASCII.
std::size_t firstHighByte(std::string_view text, std::size_t from) {
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    std::size_t at = from;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        if ((word & highBits) != 0) {
            break;
        }
    }
    for (; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0x80) != 0) {
            return at;
        }
    }
    return text.size();
}

}  // namespace

std::uint32_t cp1252CodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return upperControls[byte - 0x80u];
    }
    return byte;
}

int cp1252Byte(std::uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<int>(codePoint);
    }
    for (std::size_t i = 0; i < upperControls.size(); ++i) {
        if (upperControls[i] == codePoint) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(utf8SizeOfCp1252(text));
    appendCp1252AsUtf8(out, text);
    return out;
}

void appendCp1252AsUtf8(std::string& out, std::string_view text) {
    std::size_t plain = 0;
    while (plain < text.size()) {
        // Runs of ASCII, the bulk of any card file, go over whole.
        const std::size_t high = firstHighByte(text, plain);
        out.append(text.data() + plain, high - plain);
        if (high == text.size()) {
            break;
        }
        appendUtf8(out, cp1252CodePoint(static_cast<unsigned char>(text[high])));
        plain = high + 1;
    }
}

std::size_t utf8SizeOfCp1252(std::string_view text) {
    std::size_t size = text.size();
    for (std::size_t at = firstHighByte(text, 0); at < text.size();
         at = firstHighByte(text, at + 1)) {
        size += cp1252CodePoint(static_cast<unsigned char>(text[at])) < 0x800 ? 1 : 2;
    }
    return size;
}

bool appendUtf8AsCp1252(std::string& out, std::string_view utf8) {
    const std::size_t before = out.size();
    std::size_t plain = 0;
    while (plain < utf8.size()) {
        const std::size_t high = firstHighByte(utf8, plain);
        out.append(utf8.data() + plain, high - plain);
        if (high == utf8.size()) {
            break;
        }
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(utf8, high, codePoint);
        const int byte = length == 0 ? -1 : cp1252Byte(codePoint);
        if (byte < 0) {
            out.resize(before);
            return false;
        }
        out += static_cast<char>(byte);
        plain = high + length;
    }
    return true;
}

bool fitsCp1252(std::string_view utf8) {
    for (std::size_t at = firstHighByte(utf8, 0); at < utf8.size();) {
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(utf8, at, codePoint);
        if (length == 0 || cp1252Byte(codePoint) < 0) {
            return false;
        }
        at = firstHighByte(utf8, at + length);
    }
    return true;
}

bool isAscii(std::string_view text) { return firstHighByte(text, 0) == text.size(); }

std::size_t firstInvalidUtf8(std::string_view bytes) {
    for (std::size_t at = firstHighByte(bytes, 0); at < bytes.size();) {
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(bytes, at, codePoint);
        if (length == 0) {
            return at;
        }
        at = firstHighByte(bytes, at + length);
    }
    return std::string_view::npos;
}

std::size_t decodeUtf8(std::string_view bytes, std::size_t at, std::uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
        codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(bytes, at + i)) {
            return 0;
        }
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(bytes[at + i]) & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < lowest || codePoint > 0x10FFFF || surrogate) {
        return 0;
    }
    return length;
}
