#pragma once
#include <cstdint>
#include <vector>

#include "model/CardBoxes.h"
#include "model/MergeMatch.h"

enum class MergeSide : std::uint8_t { mine, theirs };

// What the merge decided for one unit.
struct MergeOutcome {
    bool kept = false;
    const Card* texts = nullptr;  // the card whose texts stay
    std::int32_t box = 0;
    CalendarDay day = noDay;
    // The copy whose box and place the card takes.
    MergeSide placedBy = MergeSide::theirs;
    // Theirs' texts, when both sides typed differently: a card of their own.
    const Card* alsoTheirs = nullptr;
};

struct MergeCopies {
    const DeckSide* base;
    const DeckSide& mine;
    const DeckSide& theirs;
    const Matching& matching;
};

// Fills the boxes of `merged` with new cards for the kept units, each box in
// theirs' order with the cards mine placed behind the cards they follow in mine,
// led by the current card the merge chose and marked as the writer writes them.
void layOutBoxes(const MergeCopies& copies, const std::vector<MergeOutcome>& outcomes,
                 CardBoxes& merged);
