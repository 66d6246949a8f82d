#include <gtest/gtest.h>

#include <string>

#include "model/CardBoxes.h"

namespace {

CardRef card(const std::string& question, const std::string& mark = "-", int section = 0) {
    return std::make_shared<Card>(mark, section, 0, question, "", "");
}

// A box as its questions and marks, front first: "A+ B- C-".
std::string describe(const CardBoxes& deck, int box) {
    std::string out;
    for (const CardRef& c : deck.box(box)) {
        if (!out.empty()) out += ' ';
        out.append(c->getQuestion()).append(c->getMark());
    }
    return out;
}

void put(CardBoxes& deck, int box, std::initializer_list<const char*> questions) {
    bool first = true;
    for (const char* q : questions) {
        deck.boxForReading(box).push_back(card(q, first ? "+" : "-", box));
        first = false;
    }
}

class CardBoxesTest : public ::testing::Test {
protected:
    CardBoxes deck;
    CardRef placeholder = std::make_shared<Card>();
    CardRef current = placeholder;
};

TEST_F(CardBoxesTest, NewDeckIsEmptyAndSelectingFlagsTheCurrentCard) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) EXPECT_EQ(deck.count(box), 0);
    EXPECT_EQ(deck.hasCards(), 0);
    EXPECT_EQ(deck.isAborted(), 0);
    placeholder->setInit(1);
    EXPECT_FALSE(deck.selectBox(3, current));
    EXPECT_EQ(current, placeholder);
    EXPECT_EQ(placeholder->isInit(), 0);
}

TEST_F(CardBoxesTest, SelectingAnEmptyThenAFullBoxRestoresTheOldCardsFlag) {
    put(deck, 2, {"A", "B"});
    EXPECT_FALSE(deck.selectBox(1, current));
    EXPECT_EQ(placeholder->isInit(), 0);
    EXPECT_TRUE(deck.selectBox(2, current));
    EXPECT_EQ(placeholder->isInit(), 1);
    EXPECT_EQ(current->getQuestion(), "A");
    EXPECT_EQ(describe(deck, 2), "A+ B-");
}

TEST_F(CardBoxesTest, NextAndPreviousTurnTheBoxAsARing) {
    put(deck, 1, {"A", "B", "C"});
    EXPECT_TRUE(deck.nextCard(1, current));
    EXPECT_EQ(describe(deck, 1), "B+ C- A-");
    EXPECT_EQ(current->getQuestion(), "B");

    CardBoxes other;
    put(other, 1, {"A", "B", "C"});
    other.previousCard(1, current);
    EXPECT_EQ(describe(other, 1), "C+ A- B-");
    EXPECT_EQ(current->getQuestion(), "C");
}

TEST_F(CardBoxesTest, OneCardBoxesAndEmptyBoxesStayAsTheyAre) {
    deck.boxForReading(4).push_back(card("A", "-", 4));
    EXPECT_TRUE(deck.nextCard(4, current));
    EXPECT_EQ(describe(deck, 4), "A-");  // the mark is not touched
    EXPECT_EQ(current->getQuestion(), "A");

    current = placeholder;
    deck.previousCard(4, current);
    EXPECT_EQ(current, placeholder);
    EXPECT_EQ(describe(deck, 4), "A-");

    EXPECT_FALSE(deck.nextCard(5, current));
    EXPECT_EQ(current, placeholder);
}

TEST_F(CardBoxesTest, TakeNewCardDrawsTheFrontOfBoxZeroToTheBackOfBoxOne) {
    put(deck, 0, {"X", "Y"});
    put(deck, 1, {"P"});
    ASSERT_TRUE(deck.takeNewCard(current));
    EXPECT_EQ(describe(deck, 0), "Y-");
    EXPECT_EQ(describe(deck, 1), "P+ X-");
    EXPECT_EQ(current->getQuestion(), "X");
    EXPECT_EQ(current->getSection(), 1);

    CardBoxes empty;
    CardRef before = current;
    EXPECT_FALSE(empty.takeNewCard(current));
    EXPECT_EQ(current, before);
}

TEST_F(CardBoxesTest, MoveUpCarriesTheFrontCardOneBoxUp) {
    put(deck, 5, {"A", "B"});
    EXPECT_TRUE(deck.moveUp(5, current));
    EXPECT_EQ(describe(deck, 6), "A-");
    EXPECT_EQ(deck.box(6).front()->getSection(), 6);
    EXPECT_EQ(current->getQuestion(), "B");

    // Moving the last card out: false, and the moved card stays current.
    EXPECT_FALSE(deck.moveUp(5, current));
    EXPECT_EQ(current->getQuestion(), "B");
    EXPECT_EQ(describe(deck, 6), "A- B-");
    EXPECT_EQ(deck.count(5), 0);
}

TEST_F(CardBoxesTest, MoveUpFromTheLastBoxKeepsTheCard) {
    put(deck, 6, {"A"});
    EXPECT_TRUE(deck.moveUp(6, current));
    EXPECT_EQ(deck.count(6), 1);
    EXPECT_FALSE(deck.moveUp(4, current));  // empty box: nothing happens
}

TEST_F(CardBoxesTest, MoveBackSendsTheFrontCardToTheBackOfBoxOne) {
    put(deck, 1, {"A", "B"});
    EXPECT_TRUE(deck.moveBack(1, current));
    EXPECT_EQ(describe(deck, 1), "B- A-");
    EXPECT_EQ(current->getQuestion(), "B");

    CardBoxes single;
    put(single, 1, {"A"});
    EXPECT_TRUE(single.moveBack(1, current));
    EXPECT_EQ(describe(single, 1), "A-");
    EXPECT_EQ(current->getQuestion(), "A");

    put(deck, 3, {"C"});
    ASSERT_TRUE(deck.selectBox(3, current));
    EXPECT_FALSE(deck.moveBack(3, current));
    EXPECT_EQ(describe(deck, 1), "B- A- C-");
    EXPECT_EQ(deck.box(1).back()->getSection(), 1);
    EXPECT_EQ(current->getQuestion(), "C");  // the card just moved stays current
}

TEST_F(CardBoxesTest, InsertFirstAndRemoveFirst) {
    CardRef inserted = std::make_shared<Card>(1);
    deck.insertFirst(inserted, 2);
    EXPECT_EQ(deck.box(2).front(), inserted);
    EXPECT_EQ(inserted->getSection(), 2);

    put(deck, 4, {"A", "B"});
    CardRef n = card("N");
    deck.insertFirst(n, 4);
    EXPECT_EQ(describe(deck, 4), "N- A+ B-");

    EXPECT_FALSE(deck.removeFirst(3));
    CardRef a = deck.box(4)[1];
    EXPECT_TRUE(deck.removeFirst(4));
    EXPECT_TRUE(deck.removeFirst(4));
    EXPECT_EQ(describe(deck, 4), "B-");
    // A removed card lives on while somebody still refers to it.
    EXPECT_EQ(a->getQuestion(), "A");
}

TEST_F(CardBoxesTest, BoxNumbersOutsideTheDeckActLikeEmptyBoxes) {
    put(deck, 1, {"A"});
    EXPECT_EQ(deck.count(-1), 0);
    EXPECT_EQ(deck.count(7), 0);
    EXPECT_FALSE(deck.selectBox(-1, current));
    EXPECT_FALSE(deck.nextCard(9, current));
    EXPECT_FALSE(deck.moveUp(-1, current));
    EXPECT_FALSE(deck.moveBack(7, current));
    EXPECT_FALSE(deck.removeFirst(-1));
    deck.insertFirst(card("X"), 8);
    EXPECT_EQ(deck.count(1), 1);
}

TEST_F(CardBoxesTest, MovesBackAndDrawsCountOnTodayAndReplayTakesThemBack) {
    put(deck, 0, {"N1", "N2"});
    put(deck, 2, {"A", "B", "C"});
    put(deck, 6, {"T"});
    deck.moveUp(2, current);  // no day given yet: nothing counts
    EXPECT_TRUE(deck.history().empty());

    DeckJournal journal;
    deck.setJournal(&journal);
    const CalendarDay day = dayFromDate(2026, 3, 9);
    deck.setToday(day);
    deck.moveUp(2, current);
    deck.moveUp(6, current);  // the last box: the card stays, nothing counts
    deck.moveBack(2, current);
    deck.takeNewCard(current);
    deck.setToday(day + 1);
    deck.takeNewCard(current);
    deck.takeNewCard(current);  // box 0 is empty by now
    deck.tally(Tally::rightFirstTry);
    EXPECT_EQ(deck.history().on(day), (DayTally{1, 1, 1}));
    EXPECT_EQ(deck.history().on(day + 1), (DayTally{0, 0, 1, 1}));
    EXPECT_EQ(deck.history().days().size(), 2u);

    for (auto change = journal.rbegin(); change != journal.rend(); ++change) {
        deck.replay(*change, false);
    }
    EXPECT_TRUE(deck.history().empty());
    for (const DeckChange& change : journal) deck.replay(change, true);
    EXPECT_EQ(deck.history().on(day), (DayTally{1, 1, 1}));
    EXPECT_EQ(deck.history().on(day + 1), (DayTally{0, 0, 1, 1}));
}

}  // namespace
