#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/Card.h"

// Cards are shared: the deck holds them, and the controller's current card may
// be one of them, one just taken out of the deck, or its own placeholder. Shared
// ownership keeps whichever it is alive for exactly as long as it is referred to.
using CardRef = std::shared_ptr<Card>;

// How a card file spells the deck's texts. Inside, every text is UTF-8 either way.
enum class CardEncoding { cp1252, utf8 };

// The deck: seven boxes, 0 for new cards, 1 to 6 for learning. The front card of
// a box is its current card. A box number outside 0 to 6 is treated as an empty
// box, so no operation can reach past the deck.
class CardBoxes {
public:
    static constexpr int boxCount = 7;
    static constexpr int lastBox = 6;
    using Box = std::vector<CardRef>;

    int count(int box) const;
    bool selectBox(int box, CardRef& current);
    bool takeNewCard(CardRef& current);
    bool nextCard(int box, CardRef& current);
    void previousCard(int box, CardRef& current);
    bool moveUp(int box, CardRef& current);
    bool moveBack(int box, CardRef& current);
    void insertFirst(const CardRef& card, int box);
    bool removeFirst(int box);

    std::int32_t hasCards() const { return hasCards_; }
    std::int32_t isAborted() const { return aborted_; }
    // The kind of card file the deck came from, or was last saved as.
    CardEncoding encoding() const { return encoding_; }
    void setEncoding(CardEncoding encoding) { encoding_ = encoding; }

    // Read-only view of a box, front to back.
    const Box& box(int box) const;

    // The card reader's own access while it fills a new deck.
    Box& boxForReading(int box) { return boxes_.at(static_cast<std::size_t>(box)); }
    void setAborted(std::int32_t aborted) { aborted_ = aborted; }
    void setHasCards(std::int32_t hasCards) { hasCards_ = hasCards; }

private:
    static bool isBox(int box) { return box >= 0 && box < boxCount; }
    Box* find(int box);
    // Takes the front card of `from` to the back of box `to`, with its new section.
    void moveFrontTo(Box& from, int to);

    std::array<Box, boxCount> boxes_;
    std::int32_t aborted_ = 0;
    std::int32_t hasCards_ = 0;
    CardEncoding encoding_ = CardEncoding::cp1252;
};
