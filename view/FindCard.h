#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

#include "model/CardBoxes.h"
#include "platform/CaseFolding.h"

struct FoundCard {
    int box;
    std::size_t index;
};

// The first card holding `text` in its question, answer or info, case ignored as
// `folding` ignores it: from the card after `shown` in box `box`, box by box
// upwards (box 0 after box 6), and ending with `shown` itself. A card not in the
// box starts the search at the box's front.
std::optional<FoundCard> findCard(const CardBoxes& deck, int box, const Card* shown,
                                  std::string_view text, CaseFolding& folding);
