#pragma once
#include <string>
#include <string_view>

// Appends `text` with each byte that starts no UTF-8 sequence made U+FFFD. A UTF-8
// card file keeps such bytes as they are; text made for other programs must not.
void appendValidUtf8(std::string& out, std::string_view text);
