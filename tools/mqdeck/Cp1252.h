#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Code page 1252 as Windows maps it: the five bytes the code page leaves
// undefined stand for the C1 controls of the same value, so every byte has
// exactly one character and every such character exactly one byte.
std::uint32_t cp1252CodePoint(unsigned char byte);

// The byte that holds `codePoint`, or -1 when code page 1252 has none.
int cp1252Byte(std::uint32_t codePoint);

void appendUtf8(std::string& out, std::uint32_t codePoint);

std::string cp1252ToUtf8(std::string_view text);

// The length of the well-formed UTF-8 sequence at `at` (1 to 4) with its code
// point, or 0 for a byte that starts none: overlong forms, surrogates and values
// beyond U+10FFFF are not UTF-8.
std::size_t decodeUtf8(std::string_view bytes, std::size_t at, std::uint32_t& codePoint);
