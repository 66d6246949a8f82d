#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Text to import as UTF-8. Takes UTF-8, with or without a byte-order mark, and
// otherwise (bytes that are not UTF-8 and no mark) code page 1252. A byte that
// breaks UTF-8 after a mark becomes U+FFFD when `replace` is set; otherwise the
// decoding fails with a message naming its line and column.
bool decodeInput(std::string_view bytes, bool replace, std::string& text, std::string& error);

// Makes each character of `text` that code page 1252 lacks "?", so that a card
// file of such texts stays code page 1252; gives how many there were.
std::size_t replaceOutsideCp1252(std::string& text);
