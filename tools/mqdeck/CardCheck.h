#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/CardBoxes.h"

struct CheckFinding {
    std::size_t line = 0;
    std::string text;  // UTF-8
};

struct CheckReport {
    std::vector<CheckFinding> findings;                     // ordered by line
    std::array<std::size_t, CardBoxes::boxCount> counts{};  // cards per box once read
};

// What the program's reader does with a card file's text, told as line-numbered
// findings: whatever it has to ask about, repair, default or ignore. Made of the
// reader's own building blocks, so it sees the blocks and fields the reader sees.
CheckReport checkCardText(std::string_view text);
