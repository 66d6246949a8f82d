#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ConflictedCopies.h"

namespace {

TEST(ConflictedCopies, NamesOfTheThreeSyncClientsAndNoOthers) {
    const std::vector<std::string> taken = {
        "Latin (Laptop's conflicted copy 2026-12-08).mqf",
        "latin (LAPTOP's Conflicted Copy 2026-12-08 (1)).MQF",
        "Latin-LAPTOP.mqf",
        "Latin-DESKTOP-7H2K9QB.mqf",
        "Latin.sync-conflict-20261208-101500-ABCDEFG.mqf",
        "LATIN.SYNC-CONFLICT-20261208-101500-abc1234.mqf",
    };
    const std::vector<std::string> left = {
        "Latin.mqf",
        "Latin-2.mqf",
        "Latin-old.mqf",
        "Latin-Laptop.mqf",
        "Latin-LAPTOPS-AND-DESKTOPS.mqf",
        "Latin-LAPTOP.txt",
        "Latin-LAPTOP.mqf.bak",
        "Latin (copy).mqf",
        "Latin (conflicted copy.mqf",
        "Latin2 (Laptop's conflicted copy 2026-12-08).mqf",
        "Latin.sync-conflict-2026128-101500-ABCDEFG.mqf",
        "Latin.sync-conflict-20261208-101500-ABCDEF.mqf",
        "~mqsave.tmp",
    };
    std::vector<std::string> names = left;
    names.insert(names.end(), taken.begin(), taken.end());
    EXPECT_EQ(conflictedCopyNames("C:\\Users\\me\\Documents\\Mnemoquill\\Latin.mqf", names), taken);
    EXPECT_EQ(conflictedCopyNames("Latin", {"Latin-LAPTOP", "Latin-LAPTOP.mqf"}),
              std::vector<std::string>{"Latin-LAPTOP"});
}

CardBoxes deckOf(std::initializer_list<const char*> questions) {
    CardBoxes deck;
    for (const char* question : questions) {
        deck.boxForReading(1).push_back(std::make_shared<Card>("-", 1, 0, question, "", ""));
    }
    return deck;
}

TEST(ConflictedCopies, ACopySharesMoreThanHalfOfTheSmallerDeck) {
    const CardBoxes deck = deckOf({"a", "b", "c", "d"});
    EXPECT_TRUE(sharesMostCards(deck, deckOf({"a", "b", "c", "x"})));
    EXPECT_TRUE(sharesMostCards(deck, deckOf({"a", "b"})));  // the copy lost cards
    EXPECT_FALSE(sharesMostCards(deck, deckOf({"a", "b", "x", "y"})));
    EXPECT_FALSE(sharesMostCards(deckOf({"a", "a"}), deckOf({"a", "b", "c"})));
    EXPECT_FALSE(sharesMostCards(deck, deckOf({})));
}

}  // namespace
