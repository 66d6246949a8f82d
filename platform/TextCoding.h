#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Every text inside the program is UTF-8. Card files may be code page 1252, so
// these convert at that edge, without asking the platform: a file reads the same
// wherever it is opened.

// Marks a UTF-8 file; code page 1252 text never begins with these bytes in practice.
constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";
inline bool startsWithByteOrderMark(std::string_view bytes) {
    return bytes.substr(0, utf8ByteOrderMark.size()) == utf8ByteOrderMark;
}

constexpr std::uint32_t replacementCharacter = 0xFFFD;

// Code page 1252 as Windows maps it: the five bytes the code page leaves
// undefined stand for the C1 controls of the same value, so every byte has
// exactly one character and every such character exactly one byte.
std::uint32_t cp1252CodePoint(unsigned char byte);

// The byte that holds `codePoint`, or -1 when code page 1252 has none.
int cp1252Byte(std::uint32_t codePoint);

void appendUtf8(std::string& out, std::uint32_t codePoint);

std::string cp1252ToUtf8(std::string_view text);
void appendCp1252AsUtf8(std::string& out, std::string_view text);
// Writes `text` (code page 1252) as UTF-8 at `to` and gives the end of what it
// wrote. It writes 16 bytes at a time, so `to` needs room for what it makes
// (utf8SizeOfCp1252, 3 * text.size() at most) + widenSlackBytes. Bytes after the
// text up to `readableEnd` may be read too, which saves a short text a copy.
constexpr std::size_t widenSlackBytes = 64;
char* widenCp1252ToUtf8(std::string_view text, char* to, const char* readableEnd);
// The first byte at or after `from` with its high bit set; the size when none is.
std::size_t firstHighByte(std::string_view text, std::size_t from = 0);
// How many bytes cp1252ToUtf8 makes of `text`.
std::size_t utf8SizeOfCp1252(std::string_view text);

// Turns `text` from `from` on into code page 1252 where it stands. A character
// that code page lacks, or bytes that are no UTF-8, stay as they were: false then.
bool convertUtf8ToCp1252(std::string& text, std::size_t from);
bool fitsCp1252(std::string_view utf8);
// Writes `utf8` as code page 1252 at `to`, exactly as convertUtf8ToCp1252 turns it,
// and gives the end of what it wrote. It writes 64 bytes at a time, so `to` needs
// room for utf8.size() + narrowSlackBytes; `to` must not overlap `utf8`.
constexpr std::size_t narrowSlackBytes = 64;
char* narrowUtf8ToCp1252(std::string_view utf8, char* to);

// The length of the well-formed UTF-8 sequence at `at` (1 to 4) with its code
// point, or 0 for a byte that starts none: overlong forms, surrogates and values
// beyond U+10FFFF are not UTF-8.
std::size_t decodeUtf8(std::string_view bytes, std::size_t at, std::uint32_t& codePoint);

// The character at `at` and how many bytes it takes, always at least one: bytes
// that are no UTF-8 give U+FFFD, one for each maximal part of a sequence that
// could have begun well (as the Unicode standard counts them, and as Windows and
// the panes show them).
std::size_t nextUtf8(std::string_view bytes, std::size_t at, std::uint32_t& codePoint);

// Appends `text` with each such part as U+FFFD: a UTF-8 card file keeps bytes that
// are no UTF-8, and what shows or exports its texts needs them well formed.
void appendValidUtf8(std::string& out, std::string_view text);

// Where the first byte that starts no UTF-8 sequence lies; npos when there is none.
std::size_t firstInvalidUtf8(std::string_view bytes);
