#pragma once
#include <string>
#include <string_view>

// Card texts are code page 1252; JSON wants UTF-8. The five bytes the code page
// leaves undefined become the C1 controls of the same value, as Windows maps them,
// so every byte has exactly one character and nothing is lost.
std::string cp1252ToUtf8(std::string_view text);

// A JSON string literal, quotes included, of a code page 1252 text.
std::string jsonString(std::string_view text);
