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

// Bit i set when byte i of the 16 at `at` has its high bit set. Card files are
// mostly ASCII, so texts are converted 16 bytes at a time, visiting only the bytes
// that need it.
unsigned highBits16(const char* at) {
#if defined(__SSE2__)
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at))));
#else
    // Moves each byte's high bit next to the others in the top byte of the product.
    const auto gather = [](const char* eight) {
        std::uint64_t word = 0;
        std::memcpy(&word, eight, sizeof word);
        word = (word & 0x8080808080808080u) >> 7;
        return static_cast<unsigned>((word * 0x0102040810204080u) >> 56);
    };
    return gather(at) | gather(at + 8) << 8;
#endif
}

// Each byte's UTF-8 form (three bytes at most) with its length in the fourth, so
// that it is written in one move and any byte may follow over the rest.
using Utf8Form = std::array<char, 4>;

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
            std::copy(utf8.begin(), utf8.end(), made[byte].begin());
            made[byte][3] = static_cast<char>(utf8.size());
        }
        return made;
    }();
    return forms;
}

char* appendForm(char* to, const Utf8Form& form) {
    std::memcpy(to, form.data(), form.size());
    return to + form[3];
}

// Where the lowest marked byte lies, or 16 when none is.
unsigned firstMarked(unsigned high) {
    return static_cast<unsigned>(__builtin_ctz(high | 0x10000u));
}

// The 16 bytes at `at`, of which `high` marks those outside ASCII, into UTF-8 at
// `to`; gives the end of what was written. The first such byte is converted
// without a branch: whether a block has one is a coin toss in Western text, and a
// mispredicted branch costs more than the work; only further ones take the loop.
// The ASCII goes 16 bytes at a time, the surplus overwritten by what follows, so
// each of the 32 bytes at `at` must be readable and the 64 at `to` writable.
// Inlined: it is the whole of the loops that call it.
__attribute__((always_inline)) inline char* expandBlock(const char* at, unsigned high, char* to,
                                                        const std::array<Utf8Form, 256>& forms) {
    std::memcpy(to, at, 16);
    const unsigned place = firstMarked(high);
    const unsigned has = high != 0 ? 1u : 0u;
    // Without one, the form of the byte after the block goes where the next block
    // is written.
    const Utf8Form& form = forms[static_cast<unsigned char>(at[place])];
    char* out = to + place;
    std::memcpy(out, form.data(), form.size());
    out += static_cast<unsigned>(form[3]) * has;
    const char* next = at + place + has;
    std::memcpy(out, next, 16);
    for (high &= high - 1; high != 0; high &= high - 1) {
        const auto other = static_cast<unsigned>(__builtin_ctz(high));
        out += at + other - next;
        out = appendForm(out, forms[static_cast<unsigned char>(at[other])]);
        next = at + other + 1;
        std::memcpy(out, next, 16);
    }
    return out + (at + 16 - next);
}

// Walks from `at` to `end`, moving runs of ASCII down to `to` (which never passes
// `at`) 16 bytes at a time, and hands every other byte's place to `convert`, which
// moves both `at` and `to` past it.
template <typename Convert>
void narrowAroundAscii(const char*& at, const char* end, char*& to, Convert convert) {
    while (at < end) {
        if (end - at >= 16) {
            // A branch, not firstMarked: then where the next 16 bytes lie is known
            // before these are read, and reading runs ahead.
            const unsigned high = highBits16(at);
            const unsigned ascii = high == 0 ? 16 : static_cast<unsigned>(__builtin_ctz(high));
            // All 16 bytes go at once when they cannot reach bytes not read yet.
            if (at - to >= 16) {
                std::memcpy(to, at, 16);
            } else if (to != at) {
                std::memmove(to, at, ascii);
            }
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
    const std::size_t start = out.size();
    out.resize(start + utf8SizeOfCp1252(text) + widenSlackBytes);
    const char* const end = widenCp1252ToUtf8(text, out.data() + start, text.data() + text.size());
    out.resize(static_cast<std::size_t>(end - out.data()));
}

char* widenCp1252ToUtf8(std::string_view text, char* to, const char* readableEnd) {
    const std::array<Utf8Form, 256>& forms = utf8Forms();
    const char* at = text.data();
    const char* const end = at + text.size();
    const std::ptrdiff_t readable = std::max(readableEnd - end, std::ptrdiff_t{0});
    // A block reads 32 bytes. The last one, cut at the end of the text, is taken as
    // ASCII past it, and what that adds at the end is taken off again.
    for (; end - at + readable >= 32 && at < end; at += 16) {
        unsigned high = highBits16(at);
        if (end - at < 16) {
            const auto rest = static_cast<unsigned>(end - at);
            high &= (1u << rest) - 1;
            return expandBlock(at, high, to, forms) - (16 - rest);
        }
        to = expandBlock(at, high, to, forms);
    }
    // Too near the end of what may be read: the last bytes through a copy with zeros
    // behind.
    const auto left = static_cast<unsigned>(end - at);
    if (left == 0) {
        return to;
    }
    std::array<char, 48> last{};
    std::memcpy(last.data(), at, left);
    for (unsigned done = 0; done < left; done += 16) {
        const unsigned rest = std::min(16u, left - done);
        const unsigned high = highBits16(last.data() + done) & ((1u << rest) - 1);
        to = expandBlock(last.data() + done, high, to, forms) - (16 - rest);
    }
    return to;
}

std::size_t firstHighByte(std::string_view text, std::size_t from) {
    std::size_t at = from;
    for (; at + 16 <= text.size(); at += 16) {
        if (const unsigned high = highBits16(text.data() + at); high != 0) {
            return at + static_cast<unsigned>(__builtin_ctz(high));
        }
    }
    for (; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0x80) != 0) {
            return at;
        }
    }
    return text.size();
}

namespace {

// The code page 1252 bytes of U+2000 to U+213F (0 for none): the punctuation,
// the euro sign and the trade mark, the three-byte characters of Western text.
constexpr std::uint32_t punctuationFirst = 0x2000;
constexpr std::array<unsigned char, 0x140> punctuationBytes = [] {
    std::array<unsigned char, 0x140> bytes{};
    for (std::size_t at = 0; at < upperControls.size(); ++at) {
        const std::uint32_t codePoint = upperControls[at];
        if (codePoint >= punctuationFirst && codePoint - punctuationFirst < bytes.size()) {
            bytes[codePoint - punctuationFirst] = static_cast<unsigned char>(0x80 + at);
        }
    }
    return bytes;
}();

// The character at `at` (not ASCII), before `end`, into code page 1252 at `into`,
// moving both past it. A character the code page lacks, or a byte that is no
// UTF-8, stays as it was: false then.
inline bool narrowCharacter(const char*& at, const char* end, char*& into) {
    const auto lead = static_cast<unsigned char>(at[0]);
    const auto next = end - at > 1 ? static_cast<unsigned char>(at[1]) : 0u;
    // U+00A0 into U+00FF, the bulk of Western text, are the byte itself.
    if ((lead == 0xC3 && (next & 0xC0u) == 0x80) ||
        (lead == 0xC2 && next >= 0xA0 && next <= 0xBF)) {
        *into++ = static_cast<char>(((lead & 0x03u) << 6) | (next & 0x3Fu));
        at += 2;
        return true;
    }
    std::uint32_t codePoint = 0;
    const std::size_t length =
        decodeUtf8(std::string_view(at, static_cast<std::size_t>(end - at)), 0, codePoint);
    int byte = -1;
    if (length == 3 && codePoint - punctuationFirst < punctuationBytes.size()) {
        byte = punctuationBytes[codePoint - punctuationFirst] != 0
                   ? punctuationBytes[codePoint - punctuationFirst]
                   : -1;
    } else if (length != 0) {
        byte = cp1252Byte(codePoint);
    }
    if (byte >= 0) {
        *into++ = static_cast<char>(byte);
        at += length;
        return true;
    }
    const std::size_t kept = length == 0 ? 1 : length;
    std::memmove(into, at, kept);
    into += kept;
    at += kept;
    return false;
}

// Bit i set when byte i of the 64 at `at` has its high bit set.
std::uint64_t highBits64(const char* at) {
    std::uint64_t high = 0;
    for (int block = 3; block >= 0; --block) {
        high = high << 16 | highBits16(at + 16 * block);
    }
    return high;
}

// Reads this far past `at` at most, ASCII copied 64 bytes at a time.
constexpr std::ptrdiff_t narrowReadBytes = 64 + 3 + 64;

// From `at` to `stop`, 64 bytes at a time: the ASCII before each character
// outside it goes in one copy of 64 bytes, whose surplus what follows overwrites.
// Walking the characters of a stretch by their bits costs one mispredicted branch
// a stretch, where blocks of 16 cost one nearly every block of Western text.
// Kept in locals, not behind the references: the bytes written might otherwise be
// where the pointers lie, and each would be read back after every write.
void narrowStretches(const char*& from, const char* stop, const char* end, char*& into) {
    const char* at = from;
    char* to = into;
    while (at < stop) {
        const char* const base = at;
        for (std::uint64_t high = highBits64(base); high != 0;) {
            const char* const character = base + __builtin_ctzll(high);
            std::memcpy(to, at, 64);
            to += character - at;
            at = character;
            narrowCharacter(at, end, to);
            const auto done = static_cast<unsigned>(at - base);
            high = done >= 64 ? 0 : high & (~std::uint64_t{0} << done);
        }
        const std::ptrdiff_t rest = std::max<std::ptrdiff_t>(base + 64 - at, 0);
        std::memcpy(to, at, 64);
        to += rest;
        at += rest;
    }
    from = at;
    into = to;
}

}  // namespace

char* narrowUtf8ToCp1252(std::string_view utf8, char* to) {
    const char* at = utf8.data();
    const char* const end = at + utf8.size();
    if (end - at > narrowReadBytes) {
        narrowStretches(at, end - narrowReadBytes, end, to);
    }
    // The last bytes through a copy with zeros behind, so that the stretches may
    // read past them; what went past the end was those zeros.
    const auto left = static_cast<std::size_t>(end - at);
    if (left == 0) {
        return to;
    }
    std::array<char, 2 * narrowReadBytes + 16> last{};
    std::memcpy(last.data(), at, left);
    const char* lastAt = last.data();
    const char* const lastEnd = lastAt + left;
    narrowStretches(lastAt, lastEnd, lastEnd, to);
    return to - (lastAt - lastEnd);
}

bool convertUtf8ToCp1252(std::string& text, std::size_t from) {
    bool fits = true;
    char* to = text.data() + from;
    const char* at = to;
    const char* const end = text.data() + text.size();
    // Converted where it stands: never longer than UTF-8, so writing trails reading.
    // Unlike reading, blocks without a branch measured no faster here: the bytes
    // are moved in place, and a character at a time costs no more.
    narrowAroundAscii(at, end, to, [&fits, end](const char*& character, char*& into) {
        fits = narrowCharacter(character, end, into) && fits;
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
