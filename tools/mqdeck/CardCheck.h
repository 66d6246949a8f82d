#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/CardBoxes.h"

struct CheckFinding {
    std::size_t line = 0;
    std::string text;        // UTF-8
    std::size_t column = 0;  // 0 when the finding is about the line
};

struct CheckReport {
    std::vector<CheckFinding> findings;                     // ordered by line
    std::array<std::size_t, CardBoxes::boxCount> counts{};  // cards per box once read
};

// What the program's reader does with the bytes of a card file, of either kind,
// told as findings numbered by the file's lines: whatever it has to ask about,
// repair, default or ignore, and bytes of a UTF-8 file that are no UTF-8. Made of
// the reader's own building blocks, so it sees the blocks and fields the reader sees.
CheckReport checkCardText(std::string_view bytes);
