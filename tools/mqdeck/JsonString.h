#pragma once
#include <string>
#include <string_view>

// A JSON string literal, quotes included, of a UTF-8 text. A UTF-8 card file keeps
// bytes that are no UTF-8, which JSON cannot hold: each becomes \ufffd.
std::string jsonString(std::string_view text);
