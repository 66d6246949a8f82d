#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/Card.h"
#include "model/CardEncoding.h"
#include "model/DeckChange.h"
#include "model/LearningHistory.h"

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
    // Turns the box as that many Nexts would, so the card at `index` comes to the
    // front, in one pass however far it lies.
    bool turnTo(int box, std::size_t index, CardRef& current);
    // The has-a-card flag of a card the controller holds, kept in the journal.
    void setInit(const CardRef& card, std::int32_t init);

    // Moves, Get New Card and Insert date the card they place with `today`, and
    // Move, Back and Get New Card count on it in the history; until a day is given
    // (the card tool, or a deck only read and written) they neither date nor count.
    void setToday(CalendarDay today) { today_ = today; }
    void setDay(const CardRef& card, CalendarDay day);
    // Counts one more of `which` on today, journaled as Move's count is, so that
    // Undo, Redo and the recovery record carry it; nothing until a day is given.
    // Move, Back and Get New Card count themselves: this is for what the deck does
    // not see, a typed answer checked right on the first try (Tally::rightFirstTry).
    void tally(Tally which);

    // While a journal is given, every change above is appended to it.
    void setJournal(DeckJournal* journal) { journal_ = journal; }
    // Makes a kept change again, or takes it back; the journal is not written.
    void replay(const DeckChange& change, bool forward);

    std::int32_t hasCards() const { return hasCards_; }
    std::int32_t isAborted() const { return aborted_; }
    // The kind of card file the deck came from, or was last saved as.
    CardEncoding encoding() const { return encoding_; }
    void setEncoding(CardEncoding encoding) { encoding_ = encoding; }

    const LearningHistory& history() const { return history_; }

    // Read-only view of a box, front to back.
    const Box& box(int box) const;

    // The card reader's own access while it fills a new deck.
    Box& boxForReading(int box) { return boxes_.at(static_cast<std::size_t>(box)); }
    void setAborted(std::int32_t aborted) { aborted_ = aborted; }
    void setHasCards(std::int32_t hasCards) { hasCards_ = hasCards; }
    LearningHistory& historyForReading() { return history_; }

private:
    static bool isBox(int box) { return box >= 0 && box < boxCount; }
    Box* find(int box);
    // Takes the front card of `from` to the back of box `to`, with its new section.
    void moveFrontTo(Box& from, int to);
    void setMark(const CardRef& card, std::string_view mark);
    void record(DeckChange change);

    std::array<Box, boxCount> boxes_;
    std::int32_t aborted_ = 0;
    std::int32_t hasCards_ = 0;
    CardEncoding encoding_ = CardEncoding::cp1252;
    DeckJournal* journal_ = nullptr;
    CalendarDay today_ = noDay;
    LearningHistory history_;
};
