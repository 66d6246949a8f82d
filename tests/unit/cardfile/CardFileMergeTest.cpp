#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cardfile/CardFileMerge.h"
#include "cardfile/CardWriter.h"
#include "fakes/FakeFileSystem.h"

namespace {

std::string cardFile(std::initializer_list<const char*> questions, int box = 1) {
    CardBoxes deck;
    for (const char* question : questions) {
        deck.boxForReading(box).push_back(std::make_shared<Card>("-", box, 0, question, "", ""));
    }
    return composeCardText(deck);
}

TEST(CardFileMerge, OnlyCopiesThatHoldMostOfTheDecksCardsAreTaken) {
    FakeFileSystem files;
    const std::string folder = "C:\\Decks\\";
    files.files[folder + "Latin.mqf"] = cardFile({"a", "b", "c"});
    files.files[folder + "Latin-LAPTOP.mqf"] = cardFile({"a", "b", "c", "d"}, 2);
    files.files[folder + "Latin-GREEK.mqf"] = cardFile({"alpha", "beta"});
    files.files[folder + "Latin (Pat's conflicted copy 2026-12-08).mqf"] = "no cards";
    std::vector<std::string> names;
    for (const auto& file : files.files) names.push_back(file.first.substr(folder.size()));
    const std::unique_ptr<CardBoxes> deck = readDeckQuietly(files, folder + "Latin.mqf");
    ASSERT_TRUE(deck);
    const std::vector<ConflictedCopy> copies =
        readConflictedCopies(files, folder + "Latin.mqf", *deck, names);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].path, folder + "Latin-LAPTOP.mqf");
    EXPECT_EQ(copies[0].deck->count(2), 4);
}

TEST(CardFileMerge, TheirsIsTheFileAsItIsNowAndAFileWithoutCardsMergesNothing) {
    FakeFileSystem files;
    files.files["deck.mqf"] = cardFile({"a", "b"});
    const std::unique_ptr<CardBoxes> base = readDeckQuietly(files, "deck.mqf");
    const std::unique_ptr<CardBoxes> mine = copyOfDeck(*base);
    mine->boxForReading(1).front()->setSection(2);  // the copy's own card: the base keeps box 1
    EXPECT_EQ(base->box(1).front()->getSection(), 1);
    files.files["deck.mqf"] = cardFile({"a", "b", "c"});
    const std::optional<MergedDeck> merged = mergeWithCardFile(*base, *mine, "deck.mqf", files);
    ASSERT_TRUE(merged);
    EXPECT_EQ(merged->summary.added, 1);
    for (const char* text : {"", "no cards"}) {
        files.files["deck.mqf"] = text;
        EXPECT_FALSE(mergeWithCardFile(*base, *mine, "deck.mqf", files));
    }
    files.files.clear();
    EXPECT_FALSE(mergeWithCardFile(*base, *mine, "deck.mqf", files));
}

}  // namespace
