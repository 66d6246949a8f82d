#include "platform/TextCoding.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// How many of the 16 bytes at `at` come before the first with its high bit set
// (16 when none has it). Card files are mostly ASCII, so texts are converted a
// run of ASCII at a time, found 16 bytes at once.
unsigned asciiBytesIn16(const char* at) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
    return high == 0 ? 16u : static_cast<unsigned>(__builtin_ctz(high));
#else
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    for (unsigned half = 0; half < 16; half += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, at + half, sizeof word);
        word &= highBits;
        if (word != 0) {
            // Bytes are read low first.
            return half + static_cast<unsigned>(__builtin_ctzll(word)) / 8;
        }
    }
    return 16;
#endif
}

// The first byte at or after `from` with its high bit set; the size when none is.
std::size_t firstHighByte(std::string_view text, std::size_t from) {
    std::size_t at = from;
    while (at + 16 <= text.size()) {
        const unsigned ascii = asciiBytesIn16(text.data() + at);
        at += ascii;
        if (ascii < 16) {
            return at;
        }
    }
    for (; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0x80) != 0) {
            return at;
        }
    }
    return text.size();
}

// Each byte's UTF-8 form, padded to four bytes so that it is copied in one move.
struct Utf8Form {
    std::array<char, 4> bytes{};
    std::size_t size = 0;
};

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

namespace {

const std::array<Utf8Form, 256>& utf8Forms() {
    static const std::array<Utf8Form, 256> forms = [] {
        std::array<Utf8Form, 256> made{};
        for (std::size_t byte = 0; byte < made.size(); ++byte) {
            std::string utf8;
            appendUtf8(utf8, cp1252CodePoint(static_cast<unsigned char>(byte)));
            std::copy(utf8.begin(), utf8.end(), made[byte].bytes.begin());
            made[byte].size = utf8.size();
        }
        return made;
    }();
    return forms;
}

// Walks from `at` to `end`, copying runs of ASCII to `to` (16 bytes at a time:
// `copyBlock(to, at, ascii)` copies the first `ascii` of the 16 at `at`), and hands
// every other byte's place to `convert`, which moves both `at` and `to` past it.
template <typename CopyBlock, typename Convert>
void convertAroundAscii(const char*& at, const char* end, char*& to, CopyBlock copyBlock,
                        Convert convert) {
    while (at < end) {
        if (end - at >= 16) {
            const unsigned ascii = asciiBytesIn16(at);
            copyBlock(to, at, ascii);
            to += ascii;
            at += ascii;
            if (ascii == 16) {
                continue;
            }
        } else if ((static_cast<unsigned char>(*at) & 0x80) == 0) {
            *to++ = *at++;
            continue;
        }
        convert(at, to);
    }
}

}  // namespace

void appendCp1252AsUtf8(std::string& out, std::string_view text) {
    const std::array<Utf8Form, 256>& forms = utf8Forms();
    // Converted into a buffer on the stack and appended a chunk at a time: the
    // string is written once, and only as far as the text goes.
    constexpr std::size_t chunk = 4096;
    std::array<char, chunk * 3 + 16> buffer;
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at < end) {
        char* to = buffer.data();
        convertAroundAscii(
            at, at + std::min<std::size_t>(chunk, end - at), to,
            // All 16 go to the buffer; only the ASCII ones count.
            [](char* into, const char* from, unsigned) { std::memcpy(into, from, 16); },
            [&forms](const char*& from, char*& into) {
                const Utf8Form& form = forms[static_cast<unsigned char>(*from++)];
                std::memcpy(into, form.bytes.data(), form.bytes.size());
                into += form.size;
            });
        out.append(buffer.data(), static_cast<std::size_t>(to - buffer.data()));
    }
}

bool convertUtf8ToCp1252(std::string& text, std::size_t from) {
    bool fits = true;
    char* to = text.data() + from;
    const char* at = to;
    const char* const end = text.data() + text.size();
    // Never longer than UTF-8, so writing trails reading. All 16 bytes go at once
    // when they cannot reach bytes not converted yet.
    const auto copyBlock = [](char* into, const char* from, unsigned ascii) {
        if (from - into >= 16) {
            std::memcpy(into, from, 16);
        } else {
            std::memmove(into, from, ascii);
        }
    };
    convertAroundAscii(at, end, to, copyBlock, [&fits, end](const char*& from, char*& into) {
        const auto lead = static_cast<unsigned char>(from[0]);
        const auto next = end - from > 1 ? static_cast<unsigned char>(from[1]) : 0u;
        // U+00A0 into U+00FF, the bulk of Western text, are the byte itself.
        if ((lead == 0xC2 && next >= 0xA0 && next <= 0xBF) ||
            (lead == 0xC3 && next >= 0x80 && next <= 0xBF)) {
            *into++ = static_cast<char>(((lead & 0x03u) << 6) | (next & 0x3Fu));
            from += 2;
            return;
        }
        std::uint32_t codePoint = 0;
        const std::size_t length =
            decodeUtf8(std::string_view(from, static_cast<std::size_t>(end - from)), 0, codePoint);
        const int byte = length == 0 ? -1 : cp1252Byte(codePoint);
        if (byte >= 0) {
            *into++ = static_cast<char>(byte);
            from += length;
        } else {
            fits = false;
            const std::size_t kept = length == 0 ? 1 : length;
            std::memmove(into, from, kept);
            into += kept;
            from += kept;
        }
    });
    text.resize(static_cast<std::size_t>(to - text.data()));
    return fits;
}

std::size_t utf8SizeOfCp1252(std::string_view text) {
    std::size_t size = text.size();
    for (std::size_t at = firstHighByte(text, 0); at < text.size();
         at = firstHighByte(text, at + 1)) {
        size += cp1252CodePoint(static_cast<unsigned char>(text[at])) < 0x800 ? 1 : 2;
    }
    return size;
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

namespace {

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

}  // namespace

std::size_t nextUtf8(std::string_view bytes, std::size_t at, std::uint32_t& codePoint) {
    const std::size_t length = decodeUtf8(bytes, at, codePoint);
    if (length != 0) {
        return length;
    }
    codePoint = replacementCharacter;
    return illFormedLength(bytes, at);
}

void appendValidUtf8(std::string& out, std::string_view text) {
    for (std::size_t bad = firstInvalidUtf8(text); bad != std::string_view::npos;
         bad = firstInvalidUtf8(text)) {
        out.append(text.substr(0, bad));
        std::uint32_t replaced = 0;
        text.remove_prefix(bad + nextUtf8(text, bad, replaced));
        appendUtf8(out, replaced);
    }
    out.append(text);
}
