#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cardfile/CardWriter.h"
#include "cardfile/FileIdentity.h"
#include "cardfile/RecoveryRecord.h"

namespace {

std::unique_ptr<CardBoxes> twoBoxes() {
    auto deck = std::make_unique<CardBoxes>();
    for (const char* q : {"a", "b", "c"}) {
        deck->boxForReading(1).push_back(std::make_shared<Card>("-", 1, 0, q, "", ""));
    }
    return deck;
}

TEST(RecoveryRecord, EveryCutEndsAtTheLastCompleteEntry) {
    auto deck = twoBoxes();
    CardNumbers numbers;
    numbers.numberDeck(*deck);
    RecordHeader header;
    header.cardFile = "C:\\x\\deck.mqf";
    header.changes = 1;
    std::string bytes = recordHead(header);
    const std::size_t headEnd = bytes.size();
    std::vector<std::size_t> ends;
    for (int step = 0; step < 3; ++step) {
        DeckJournal journal;
        deck->setJournal(&journal);
        CardRef current;
        deck->moveUp(1, current);
        deck->setJournal(nullptr);
        RecordEntry entry(numbers, step != 1, LocalTime{5, 61}, 1);
        for (const DeckChange& change : journal) entry.add(change, true);
        bytes += entry.framed();
        ends.push_back(bytes.size());
    }
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        const std::optional<RecordContents> contents = parseRecord(bytes.substr(0, cut));
        if (cut < headEnd) {
            EXPECT_FALSE(contents) << cut;
            continue;
        }
        ASSERT_TRUE(contents) << cut;
        std::size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= cut) ++complete;
        EXPECT_EQ(contents->entries.size(), complete) << cut;
        EXPECT_EQ(contents->changes, 1 + complete - (complete >= 2 ? 1 : 0)) << cut;
    }
}

TEST(RecoveryRecord, AnEntryThatDoesNotFitLeavesTheDeckAsItWas) {
    auto deck = twoBoxes();
    CardNumbers numbers;
    numbers.numberDeck(*deck);
    const std::string before = composeCardText(*deck);
    // Two cards move, then a third from a box that has none.
    RecordEntry entry(numbers, true, LocalTime{}, 1);
    DeckChange move(DeckChange::Kind::moved, 1);
    move.toBox = 2;
    move.before = 1;
    entry.add(move, true);
    entry.add(move, true);
    move.box = 3;
    entry.add(move, true);
    const std::string framed = entry.framed();
    const std::string payload = framed.substr(8);
    EXPECT_FALSE(replayEntry(*deck, numbers, payload));
    EXPECT_EQ(composeCardText(*deck), before);
    EXPECT_FALSE(replayEntry(*deck, numbers, payload.substr(0, payload.size() - 1)));
    EXPECT_EQ(composeCardText(*deck), before);
}

TEST(ContentHash, IsTheSameInAnyPiecesAndTellsAByteApart) {
    std::string bytes;
    for (int i = 0; i < 100; ++i) bytes += static_cast<char>(i * 37);
    const std::uint64_t whole = contentHash(bytes);
    for (std::size_t piece = 1; piece <= 9; ++piece) {
        ContentHash hash;
        for (std::size_t at = 0; at < bytes.size(); at += piece) hash.add(bytes.substr(at, piece));
        EXPECT_EQ(hash.value(), whole) << piece;
    }
    for (std::size_t at = 0; at < bytes.size(); at += 13) {
        std::string other = bytes;
        other[at] ^= 1;
        EXPECT_NE(contentHash(other), whole) << at;
    }
    EXPECT_NE(contentHash(bytes + '\0'), whole);
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
}

}  // namespace
