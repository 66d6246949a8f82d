#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/Card.h"

// Cards are shared: the deck holds them, and the controller's current card may
// be one of them, one just taken out of the deck, or its own placeholder; a change
// kept for undoing holds its card too. Shared ownership keeps whichever it is alive
// for exactly as long as it is referred to.
using CardRef = std::shared_ptr<Card>;

// One change the deck made, kept with what it was before and after, so that it can
// be taken back and made again without a copy of the deck.
struct DeckChange {
    enum class Kind : std::uint8_t {
        moved,     // the front card of `box` went to the back of `toBox`
        turned,    // `box` turned `steps` cards from its front to its back
        inserted,  // `card` was put at the front of `box`
        removed,   // `card` left the front of `box`
        marked,    // `card`'s mark went from `markBefore` to `markAfter`
        flagged,   // `card`'s has-a-card flag went from `before` to `after`
        dated,     // `card`'s day went from `before` to `after`
        tallied,   // the count `box` (a Tally) of the day `before` grew by one
    };
    DeckChange(Kind kind, int box, CardRef card = nullptr)
        : kind(kind), box(static_cast<std::int8_t>(box)), card(std::move(card)) {}

    Kind kind;
    std::int8_t box = 0;
    std::int8_t toBox = 0;
    // moved and inserted: the card's section before; turned: the steps; flagged and
    // dated: the flag or day before; tallied: the day counted on.
    std::int32_t before = 0;
    std::int32_t after = 0;
    CardRef card;
    std::string markBefore;
    std::string markAfter;
};

using DeckJournal = std::vector<DeckChange>;
