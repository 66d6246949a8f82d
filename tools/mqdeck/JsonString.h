#pragma once
#include <string>
#include <string_view>

// A JSON string literal, quotes included, of a code page 1252 text.
std::string jsonString(std::string_view text);
