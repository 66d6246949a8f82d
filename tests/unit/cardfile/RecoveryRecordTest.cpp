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

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const char byte : bytes) {
        text += digits[static_cast<unsigned char>(byte) >> 4];
        text += digits[static_cast<unsigned char>(byte) & 15];
    }
    return text;
}

// Each command's changes go into an entry that replays them onto a deck read from
// the base, and the undo's entry takes them back; the bytes are those of every
// record written so far, so records left by an older run still replay.
TEST(RecoveryRecord, EveryKindOfChangeReplaysBothWaysInTheBytesOfEarlierRecords) {
    using Op = void (*)(CardBoxes&, CardRef&);
    struct Case {
        const char* name;
        Op op;  // null: new texts for the front card of box 1
        const char* bytes;
    };
    const Case cases[] = {
        {"move up", [](CardBoxes& d, CardRef& c) { d.moveUp(1, c); },
         "25000000382b50d901204e00003d0001000101020100000006010000000000000080204e0000070100204e000"
         "0"},
        {"turn", [](CardBoxes& d, CardRef& c) { d.turnTo(1, 2, c); },
         "1f00000031ab87b601204e00003d0001040102000000010000002d010000002b01010102000000"},
        {"insert",
         [](CardBoxes& d, CardRef&) {
             d.insertFirst(std::make_shared<Card>("-", 2, 0, "new", "n\xC3\xA9", "i"), 2);
         },
         "4100000083f19aa901204e00003d00010201020200000003000000010000002d02000000204e0000030000006"
         "e6577030000006ec3a9010000006906010300000000000080204e0000"},
        {"remove", [](CardBoxes& d, CardRef&) { d.removeFirst(1); },
         "0b000000f179069f01204e00003d0001030101"},
        {"redate", [](CardBoxes& d, CardRef&) { d.setDay(d.box(1).back(), 7); },
         "16000000734c207301204e00003d00010601020000000000008007000000"},
        {"typed right", [](CardBoxes& d, CardRef&) { d.tally(Tally::rightFirstTry); },
         "0f000000d5aced2601204e00003d0001070103204e0000"},
        {"texts", nullptr,
         "1c0000004aa8e28e01204e00003d00014001000000000200000071320000000000000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto live = twoBoxes();
        live->setToday(20000);
        CardNumbers numbers;
        numbers.numberDeck(*live);
        const std::string before = composeCardText(*live);
        RecordEntry entry(numbers, true, LocalTime{20000, 61}, 1);
        RecordEntry undo(numbers, true, LocalTime{20000, 62}, 1);
        const CardRef first = live->box(1).front();
        if (c.op == nullptr) {
            first->setQuestion("q2");
            entry.addTexts(first);
            first->setQuestion("a");
            undo.addTexts(first);
            first->setQuestion("q2");
        } else {
            DeckJournal journal;
            live->setJournal(&journal);
            CardRef current;
            c.op(*live, current);
            live->setJournal(nullptr);
            for (const DeckChange& change : journal) entry.add(change, true);
            for (auto it = journal.rbegin(); it != journal.rend(); ++it) undo.add(*it, false);
        }
        ASSERT_TRUE(entry.complete() && undo.complete());
        EXPECT_EQ(hex(entry.framed()), c.bytes);
        auto replayed = twoBoxes();
        CardNumbers replayNumbers;
        replayNumbers.numberDeck(*replayed);
        ASSERT_TRUE(replayEntry(*replayed, replayNumbers, entry.framed().substr(8)));
        EXPECT_EQ(composeCardText(*replayed), composeCardText(*live));
        ASSERT_TRUE(replayEntry(*replayed, replayNumbers, undo.framed().substr(8)));
        EXPECT_EQ(composeCardText(*replayed), before);
    }
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
