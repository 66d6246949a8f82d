#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Text to import, brought into the code page the card files use.
struct DecodedInput {
    std::string text;          // code page 1252
    std::size_t replaced = 0;  // characters written as "?"
};

// Takes UTF-8, with or without a byte-order mark, and otherwise (bytes that are
// not UTF-8 and no mark) code page 1252 as it is. A character code page 1252
// cannot hold, or a byte that breaks UTF-8 after a mark, becomes "?" when
// `replace` is set; otherwise the decoding fails with a message naming line,
// column and character.
bool decodeInput(std::string_view bytes, bool replace, DecodedInput& out, std::string& error);

// "U+4E2D" and the character itself, for messages.
std::string describeCharacter(std::uint32_t codePoint);
