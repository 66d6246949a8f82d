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
const std::string saveFile = deckFile + ".mqsave";
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
    deck->boxForReading(3).push_back(makeCard("-", 3, "q3", "a3", "\xFC"));
    return deck;
}

const std::string sampleText =
    "<C>\r\n<M>+</M>\r\n<S>1</S>\r\n<N>1</N>\r\n<Q>domus</Q>\r\n<A>house</A>\r\n<I>noun</I>\r\n"
    "</C>\r\n"
    "<C>\r\n<M>+</M>\r\n<S>3</S>\r\n<N>1</N>\r\n<Q>a\r\nb</Q>\r\n<A></A>\r\n<I>i</I>\r\n</C>\r\n"
    "<C>\r\n<M>-</M>\r\n<S>5</S>\r\n<N>2</N>\r\n<Q>q2</Q>\r\n<A>a2</A>\r\n<I></I>\r\n</C>\r\n"
    "<C>\r\n<M>-</M>\r\n<S>3</S>\r\n<N>3</N>\r\n<Q>q3</Q>\r\n<A>a3</A>\r\n<I>\xFC</I>\r\n"
    "</C>\r\n";

TEST(CardWriter, ComposesEveryCardWithTheMarkAndNumberOfItsPosition) {
    EXPECT_EQ(composeCardText(*sampleDeck()), sampleText);
    EXPECT_EQ(composeCardText(CardBoxes()), "");
}

TEST(CardWriter, WrittenTextReadsBackIntoTheSameBoxesAndWritesIdentically) {
    auto deck = sampleDeck();
    // Only a card whose section names its own box reads back where it was.
    deck->boxForReading(3)[1]->setSection(3);
    CardRef current = std::make_shared<Card>();
    deck->nextCard(3, current);
    const std::string first = composeCardText(*deck);

    CardBoxes again;
    FakeMessageBoxes boxes;
    readCardText(again, first, boxes);
    EXPECT_EQ(boxes.count(), 0u);
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        ASSERT_EQ(again.count(box), deck->count(box));
        for (int i = 0; i < deck->count(box); ++i) {
            EXPECT_EQ(again.box(box)[i]->getQuestion(), deck->box(box)[i]->getQuestion());
        }
    }
    EXPECT_EQ(composeCardText(again), first);
}

TEST(CardWriter, SaveReplacesTheFileWithoutAnyBox) {
    FakeFileSystem fs;
    FakeMessageBoxes boxes;
    fs.files[deckFile] = oldBytes;
    writeDeckToFile(*sampleDeck(), deckFile, fs, boxes);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(fs.files[deckFile], sampleText);
    EXPECT_FALSE(fs.exists(saveFile));

    writeDeckToFile(CardBoxes(), deckFile, fs, boxes);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(fs.files[deckFile], "");
}

struct SaveFailure {
    const char* name;
    void (*inject)(FakeFileSystem&);
    std::string text;
    std::optional<std::string> caption;
    bool created;
};

TEST(CardWriter, EveryFailedSaveKeepsTheOldFileAndShowsExactlyOneBox) {
    const std::optional<std::string> mq = "MQMessage";
    const SaveFailure failures[] = {
        {"invalid name", [](FakeFileSystem& fs) { fs.failCreate(ERROR_INVALID_NAME); },
         "Ungl\x81\xFCltiger Dateiname", std::nullopt, false},
        {"create, no code", [](FakeFileSystem& fs) { fs.failCreate(0); }, "Invalid Handle; write",
         std::nullopt, false},
        {"create, exists", [](FakeFileSystem& fs) { fs.failCreate(ERROR_ALREADY_EXISTS); },
         "Invalid Handle; write", std::nullopt, false},
        {"create, denied", [](FakeFileSystem& fs) { fs.failCreate(ERROR_ACCESS_DENIED); },
         "CreateFileHandle ERR: , err#: 5", mq, false},
        {"write", [](FakeFileSystem& fs) { fs.failWrite(ERROR_DISK_FULL); },
         "WriteFile-Fehler, err#: 112", mq, true},
        {"write failing part-way", [](FakeFileSystem& fs) { fs.failWrite(0x80070070u, 10); },
         "WriteFile-Fehler, err#: -2147024784", mq, true},
        {"short write reported as success", [](FakeFileSystem& fs) { fs.shortWrite(10); },
         "WriteFile-Fehler, err#: 112", mq, true},
        {"commit", [](FakeFileSystem& fs) { fs.failCommit(ERROR_HANDLE_DISK_FULL); },
         "WriteFile-Fehler, err#: 39", mq, true},
        {"replace", [](FakeFileSystem& fs) { fs.failReplace(ERROR_ACCESS_DENIED); },
         "WriteFile-Fehler, err#: 5", mq, true},
    };
    for (const SaveFailure& failure : failures) {
        SCOPED_TRACE(failure.name);
        FakeFileSystem fs;
        FakeMessageBoxes boxes;
        fs.files[deckFile] = oldBytes;
        failure.inject(fs);
        writeDeckToFile(*sampleDeck(), deckFile, fs, boxes);
        EXPECT_EQ(fs.files[deckFile], oldBytes);
        EXPECT_FALSE(fs.exists(saveFile));
        EXPECT_EQ(fs.created.size(), failure.created ? 1u : 0u);
        EXPECT_EQ(fs.removed.size(), failure.created ? 1u : 0u);
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
