#pragma once
#include <string>
#include <string_view>

// A JSON string literal, quotes included, of a UTF-8 text. A UTF-8 card file keeps
// bytes that are no UTF-8, which JSON cannot hold: they become U+FFFD, as
// appendValidUtf8() makes them.
std::string jsonString(std::string_view text);
