#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMessageBoxes.h"
#include "platform/MQMessage.h"

namespace {

const std::string deckFile = "C:\\cards\\deck.txt";
const std::string saveFile = "C:\\cards\\~mqsave.tmp";
const std::string oldBytes = "old card file \xFF bytes";

CardRef makeCard(const std::string& mark, int section, const std::string& question,
                 const std::string& answer = "", const std::string& info = "") {
    return std::make_shared<Card>(mark, section, 99, question, answer, info);
}

// Box 1 with one card, box 3 with three (the "+" fallen out of step, one card
// claiming another section, a two-line question), the other boxes empty.
std::unique_ptr<CardBoxes> sampleDeck() {
    auto deck = std::make_unique<CardBoxes>();
    deck->boxForReading(1).push_back(makeCard("-", 1, "domus", "house", "noun"));
    deck->boxForReading(3).push_back(makeCard("-", 3, "a\r\nb", "", "i"));
    deck->boxForReading(3).push_back(makeCard("+", 5, "q2", "a2"));
    deck->box(3).back()->setDay(dayFromDate(2026, 2, 3));
    deck->boxForReading(3).push_back(makeCard("-", 3, "q3", "a3", "\xC3\xBC"));
    return deck;
}

// The sample with enough cards behind it that saving takes several pieces.
std::unique_ptr<CardBoxes> largeDeck() {
    auto deck = sampleDeck();
    for (std::size_t i = 0; i < 3 * cardTextPieceBytes / 100; ++i) {
        deck->boxForReading(2).push_back(
            makeCard("-", 2, "question " + std::to_string(i), std::string(60, 'a')));
    }
    return deck;
}

const std::string sampleText =
    "<C>\r\n<M>+</M>\r\n<S>1</S>\r\n<N>1</N>\r\n<Q>domus</Q>\r\n<A>house</A>\r\n<I>noun</I>\r\n"
    "</C>\r\n"
    "<C>\r\n<M>+</M>\r\n<S>3</S>\r\n<N>1</N>\r\n<Q>a\r\nb</Q>\r\n<A></A>\r\n<I>i</I>\r\n</C>\r\n"
    "<C>\r\n<M>-</M>\r\n<S>5</S>\r\n<N>2</N>\r\n<Q>q2</Q>\r\n<A>a2</A>\r\n<I></I>\r\n"
    "<D>2026-02-03</D>\r\n</C>\r\n"
    "<C>\r\n<M>-</M>\r\n<S>3</S>\r\n<N>3</N>\r\n<Q>q3</Q>\r\n<A>a3</A>\r\n<I>\xFC</I>\r\n"
    "</C>\r\n";

TEST(CardWriter, ComposesEveryCardWithTheMarkAndNumberOfItsPosition) {
    EXPECT_EQ(composeCardText(*sampleDeck()), sampleText);
    EXPECT_EQ(composeCardText(CardBoxes()), "");
    // A text longer than the writer's buffers, with characters of every length (one
    // the code page lacks) across their ends.
    const std::string utf8[] = {"\xE2\x82\xAC", "\xC3\xA4", "\xC5\x81", "\xC2\x81", "z"};
    const std::string cp1252[] = {"\x80", "\xE4", "\xC5\x81", "\x81", "z"};
    std::string question, expected;
    for (std::size_t i = 0; i < 5000; ++i) {
        question += std::string(i % 7, 'x') + utf8[i % 5];
        expected += std::string(i % 7, 'x') + cp1252[i % 5];
    }
    CardBoxes longText;
    longText.boxForReading(1).push_back(makeCard("-", 1, question));
    EXPECT_EQ(composeCardText(longText, CardEncoding::cp1252),
              "<C>\r\n<M>+</M>\r\n<S>1</S>\r\n<N>1</N>\r\n<Q>" + expected +
                  "</Q>\r\n<A></A>\r\n<I></I>\r\n</C>\r\n");

    // In pieces: the same bytes in several bounded pieces, ended early by a refusal.
    const auto deck = largeDeck();
    std::string joined;
    int pieces = 0;
    EXPECT_TRUE(composeCardTextInPieces(*deck, CardEncoding::cp1252, [&](const std::string& piece) {
        EXPECT_LE(piece.size(), cardTextPieceBytes + 200);
        joined += piece;
        return ++pieces > 0;
    }));
    EXPECT_EQ(joined, composeCardText(*deck));
    EXPECT_GT(pieces, 3);
    int calls = 0;
    EXPECT_FALSE(composeCardTextInPieces(*deck, CardEncoding::cp1252,
                                         [&](const std::string&) { return ++calls > 1; }));
    EXPECT_EQ(calls, 1);
}

TEST(CardWriter, HistoryFollowsTheLastCardOfADeckThatHasCards) {
    auto deck = largeDeck();
    deck->historyForReading().add(dayFromDate(2026, 3, 10), DayTally{0, 0, 1});
    deck->historyForReading().add(dayFromDate(2026, 3, 9), DayTally{12, 3, 5});
    const std::string block = "<H>\r\n2026-03-09 12 3 5\r\n2026-03-10 0 0 1\r\n</H>\r\n";
    for (const CardEncoding kind : {CardEncoding::cp1252, CardEncoding::utf8}) {
        const std::string text = composeCardText(*deck, kind);
        ASSERT_GT(text.size(), block.size());
        EXPECT_EQ(text.substr(text.size() - block.size()), block);
        EXPECT_EQ(text.find("<H>"), text.size() - block.size());
        std::string joined;
        composeCardTextInPieces(*deck, kind, [&](const std::string& piece) {
            joined += piece;
            return true;
        });
        EXPECT_EQ(joined, text);
    }
    // Every card deleted: a file without a card block would make the reader ask.
    CardBoxes empty;
    empty.historyForReading().add(dayFromDate(2026, 3, 9), DayTally{1, 0, 0});
    EXPECT_EQ(composeCardText(empty), "");
}

TEST(CardWriter, WrittenTextReadsBackIntoTheSameBoxesAndWritesIdentically) {
    auto deck = sampleDeck();
    deck->historyForReading().add(dayFromDate(2026, 3, 9), DayTally{12, 3, 5});
    // Only a card whose section names its own box reads back where it was.
    deck->boxForReading(3)[1]->setSection(3);
    CardRef current = std::make_shared<Card>();
    deck->nextCard(3, current);
    const std::string first = composeCardText(*deck);

    CardBoxes again;
    FakeMessageBoxes boxes;
    readCardFileBytes(again, first, boxes);
    EXPECT_EQ(boxes.count(), 0u);
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        ASSERT_EQ(again.count(box), deck->count(box));
        for (int i = 0; i < deck->count(box); ++i) {
            EXPECT_EQ(again.box(box)[i]->getQuestion(), deck->box(box)[i]->getQuestion());
            EXPECT_EQ(again.box(box)[i]->getDay(), deck->box(box)[i]->getDay());
        }
    }
    EXPECT_EQ(again.history().days(), deck->history().days());
    EXPECT_EQ(composeCardText(again), first);

    // Cards nobody changed go back as the code page 1252 file held them; one edited,
    // and one read from a UTF-8 file (with a character the code page lacks), not.
    for (CardBoxes* each : {&again, deck.get()}) {
        each->box(3)[2]->setAnswer("\xC3\xA9t\xC3\xA9");
    }
    CardBoxes utf8;
    readCardFileBytes(utf8, "\xEF\xBB\xBF<C><S>1</S><Q>\xE2\x82\xAC</Q><A>\xC5\x81</A></C>", boxes);
    again.boxForReading(1).push_back(utf8.box(1)[0]);
    deck->boxForReading(1).push_back(makeCard("-", 1, "\xE2\x82\xAC", "\xC5\x81"));
    EXPECT_EQ(savedEncoding(again), CardEncoding::utf8);
    for (const CardEncoding kind : {CardEncoding::cp1252, CardEncoding::utf8}) {
        EXPECT_EQ(composeCardText(again, kind), composeCardText(*deck, kind));
    }
}

bool anyCopyLeft(const FakeFileSystem& fs) {
    for (const auto& file : fs.files) {
        if (file.first.find("~mqsave") != std::string::npos) return true;
    }
    return false;
}

struct SaveRoad {
    const char* name;
    std::string path;  // what the user chose; the file saved is deckFile
    void (*prepare)(FakeFileSystem&);
};

TEST(CardWriter, SaveSucceedsWhereverWritingTheFileInPlaceWould) {
    // A deep folder and a short name: no longer name fits beside it.
    static const std::string deepFile = "C:\\" + std::string(248, 'f') + "\\a.txt";
    const SaveRoad roads[] = {
        {"replacing it, hidden", deckFile,
         [](FakeFileSystem& fs) { fs.attributeBits[deckFile] = FILE_ATTRIBUTE_HIDDEN; }},
        {"a new file", deckFile, [](FakeFileSystem& fs) { fs.files.erase(deckFile); }},
        {"held open without delete sharing", deckFile,
         [](FakeFileSystem& fs) { fs.failReplace(ERROR_SHARING_VIOLATION); }},
        {"a folder that takes no new file", deckFile,
         [](FakeFileSystem& fs) { fs.failCreate(ERROR_ACCESS_DENIED, saveFile); }},
        {"through a link", "D:\\link.txt",
         [](FakeFileSystem& fs) { fs.links["D:\\link.txt"] = deckFile; }},
        {"a path with no room for a longer name", deepFile,
         [](FakeFileSystem& fs) {
             fs.files[deepFile] = fs.files[deckFile];
             fs.files.erase(deckFile);
             fs.pathLimit = deepFile.size();
         }},
    };
    for (const SaveRoad& road : roads) {
        SCOPED_TRACE(road.name);
        FakeFileSystem fs;
        FakeMessageBoxes boxes;
        fs.files[deckFile] = oldBytes;
        road.prepare(fs);
        const std::string saved = fs.finalPath(road.path);
        const auto attributes = fs.attributes(saved);
        EXPECT_TRUE(writeDeckToFile(*largeDeck(), road.path, fs, boxes));
        EXPECT_EQ(boxes.count(), 0u);
        EXPECT_EQ(fs.files[saved], composeCardText(*largeDeck()));
        EXPECT_FALSE(anyCopyLeft(fs));
        if (attributes) {
            EXPECT_EQ(fs.attributes(saved), attributes);
        }
        EXPECT_EQ(fs.links.size(), road.path == saved ? 0u : 1u);
    }

    FakeFileSystem fs;
    FakeMessageBoxes boxes;
    CardBoxes empty;
    EXPECT_TRUE(writeDeckToFile(empty, deckFile, fs, boxes));
    EXPECT_EQ(fs.files[deckFile], "");
}

struct SaveFailure {
    const char* name;
    void (*inject)(FakeFileSystem&);
    std::string text;
    std::optional<std::string> caption;
    bool created;
    bool copyKept = false;
};

TEST(CardWriter, EveryFailedSaveKeepsTheOldFileAndShowsExactlyOneBox) {
    const std::optional<std::string> mq = "MQMessage";
    const SaveFailure failures[] = {
        {"invalid name", [](FakeFileSystem& fs) { fs.failCreate(ERROR_INVALID_NAME); },
         "Ungl\xC2\x81\xC3\xBCltiger Dateiname", std::nullopt, false},
        {"create, no code", [](FakeFileSystem& fs) { fs.failCreate(0); }, "Invalid Handle; write",
         std::nullopt, false},
        {"create, exists", [](FakeFileSystem& fs) { fs.failCreate(ERROR_ALREADY_EXISTS); },
         "Invalid Handle; write", std::nullopt, false},
        {"create, denied", [](FakeFileSystem& fs) { fs.failCreate(ERROR_ACCESS_DENIED); },
         "CreateFileHandle ERR: , err#: 5", mq, false},
        {"read-only file",
         [](FakeFileSystem& fs) { fs.attributeBits[deckFile] = FILE_ATTRIBUTE_READONLY; },
         "CreateFileHandle ERR: , err#: 5", mq, false},
        {"held without write sharing",
         [](FakeFileSystem& fs) { fs.failOverwrite(ERROR_SHARING_VIOLATION); },
         "CreateFileHandle ERR: , err#: 32", mq, false},
        {"folder gone", [](FakeFileSystem& fs) { fs.failOverwrite(ERROR_PATH_NOT_FOUND); },
         "CreateFileHandle ERR: , err#: 3", mq, false},
        {"write", [](FakeFileSystem& fs) { fs.failWrite(ERROR_DISK_FULL); },
         "WriteFile-Fehler, err#: 112", mq, true},
        {"write failing part-way", [](FakeFileSystem& fs) { fs.failWrite(0x80070070u, 10); },
         "WriteFile-Fehler, err#: -2147024784", mq, true},
        {"short write reported as success", [](FakeFileSystem& fs) { fs.shortWrite(10); },
         "WriteFile-Fehler, err#: 112", mq, true},
        {"commit", [](FakeFileSystem& fs) { fs.failCommit(ERROR_HANDLE_DISK_FULL); },
         "WriteFile-Fehler, err#: 39", mq, true},
        {"in place, after the rename was refused",
         [](FakeFileSystem& fs) {
             fs.failReplace(ERROR_SHARING_VIOLATION);
             fs.failWrite(ERROR_DISK_FULL, 0, deckFile);
         },
         "WriteFile-Fehler, err#: 112\nThe saved cards are kept in " + saveFile, mq, true, true},
        {"write failing in a later piece",
         [](FakeFileSystem& fs) { fs.failWrite(ERROR_DISK_FULL, cardTextPieceBytes + 1000); },
         "WriteFile-Fehler, err#: 112", mq, true},
        {"in place, read back failing in a later piece",
         [](FakeFileSystem& fs) {
             fs.failReplace(ERROR_SHARING_VIOLATION);
             fs.failRead(ERROR_ACCESS_DENIED, cardTextPieceBytes + 1000, deckFile);
         },
         "WriteFile-Fehler, err#: 5\nThe saved cards are kept in " + saveFile, mq, true, true},
        {"in place, the disk giving back other bytes",
         [](FakeFileSystem& fs) {
             fs.failReplace(ERROR_SHARING_VIOLATION);
             fs.garbleWrite(2 * cardTextPieceBytes + 1000, deckFile);
         },
         "WriteFile-Fehler, err#: 29\nThe saved cards are kept in " + saveFile, mq, true, true},
    };
    const std::string text = composeCardText(*largeDeck());
    for (const SaveFailure& failure : failures) {
        SCOPED_TRACE(failure.name);
        FakeFileSystem fs;
        FakeMessageBoxes boxes;
        fs.files[deckFile] = oldBytes;
        failure.inject(fs);
        EXPECT_FALSE(writeDeckToFile(*largeDeck(), deckFile, fs, boxes));
        // The old bytes stay, or else the box names a complete copy.
        EXPECT_EQ(fs.exists(saveFile), failure.copyKept);
        if (failure.copyKept) {
            EXPECT_EQ(fs.files[saveFile], text);
        } else {
            EXPECT_EQ(fs.files[deckFile], oldBytes);
        }
        EXPECT_EQ(fs.created.size(), failure.created ? 1u : 0u);
        EXPECT_EQ(fs.removed.size(), failure.created && !failure.copyKept ? 1u : 0u);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().owner, noWindow);
        EXPECT_EQ(boxes.last().text, failure.text);
        EXPECT_EQ(boxes.last().caption, failure.caption);
        EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_OK));
    }
}

TEST(MQMessage, ComposesTextSuffixAndSignedCode) {
    EXPECT_EQ(composeErrorText("ReadFile-Fehler", 0), "ReadFile-Fehler, err#: 0");
    EXPECT_EQ(composeErrorText("", INT32_MIN), ", err#: -2147483648");
    // Texts longer than the old fixed buffer arrive whole.
    const std::string longText(1000, 'x');
    FakeMessageBoxes boxes;
    showError(boxes, longText, 123);
    EXPECT_EQ(boxes.last().text, longText + ", err#: 123");
    EXPECT_EQ(boxes.last().caption, std::optional<std::string>("MQMessage"));
}

}  // namespace
