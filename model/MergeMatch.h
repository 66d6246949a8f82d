#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "model/CardBoxes.h"

// The merge's view of one copy of a deck: its cards in deck order (box 0 to 6,
// each front to back), so that a box is one stretch of it.
struct DeckSide {
    explicit DeckSide(const CardBoxes& deck);

    std::vector<const Card*> cards;
    std::vector<std::int32_t> boxes;
    // Box b is cards [boxStart[b], boxStart[b + 1]).
    std::array<std::size_t, CardBoxes::boxCount + 1> boxStart{};
};

constexpr std::int32_t none = -1;

// One card across the copies: its index in each, or none where that copy lacks it.
struct MergeUnit {
    std::int32_t base = none;
    std::int32_t mine = none;
    std::int32_t theirs = none;
};

// Which unit each card of each copy belongs to. Unit i is base card i, where
// there is a base; the cards it lacks follow.
struct Matching {
    std::vector<MergeUnit> units;
    std::vector<std::int32_t> mineUnit;
    std::vector<std::int32_t> theirsUnit;
};

// Cards carry no identity, so they are matched by their texts: the k-th card of a
// copy with some texts to the k-th base card with them; then a card whose texts
// no base card has to a base card left over that shares two of its three texts,
// not both empty (an edit rarely touches more than one); then the cards still left on one side
// to those left on the other with the same texts (added on both, or, without a
// base, simply the same card). Hash maps on the texts: linear in the cards.
Matching matchCards(const DeckSide* base, const DeckSide& mine, const DeckSide& theirs);
