#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cardfile/CardFile.h"
#include "cardfile/CardWriter.h"
#include "fakes/FakeCaseFolding.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialog.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakeRandom.h"
#include "fakes/FakeRecoveryPlace.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeStrings.h"

namespace {

const WindowRef dialogWindow = FakeDialog::handle;
const std::string backup = "mq_tmp.txt";
const std::string noCardData =
    "Couldn't read any card datas!\nIf you want creating a new file use Ctrl+N.";
const std::string cannotOpen =
    "Anyhow, I can't open this file properly.\nOK proceeds with violated datas.\nCancel is a "
    "good idea.";
const std::string oneCard = "<C><S>2</S><Q>latin</Q></C>\r\n";

class CardFileTest : public ::testing::Test {
protected:
    FakeFileSystem fs;
    FakeMessageBoxes boxes;
    FakeFileDialogs dialogs;
    FakeStrings strings;
    FakeCaseFolding caseFolding;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeRandom random;
    FakeRecoveryPlace recovery{fs};
    Platform platform{boxes, fs, dialogs, strings, caseFolding, clock, settings, random, recovery};
    FakeDialog window;
    CardFile cardFile{platform};
    // The question about a card file changed meanwhile: asked how often, answered how.
    int asked = 0;
    ChangedFileChoice choice = ChangedFileChoice::replace;
    ChangedFileQuestion ask = [this](const std::string&) {
        ++asked;
        return choice;
    };

    bool open(const std::string& path) {
        dialogs.openWillChoose(path);
        return cardFile.openCardFile(window);
    }

    // Opens a good file first, so that a failure afterwards has state to keep.
    void openGoodFile() {
        fs.files["C:\\good.mqf"] = oneCard;
        ASSERT_TRUE(open("C:\\good.mqf"));
        boxes.clear();
    }

    void expectGoodFileStillCurrent(const CardBoxes* deck) {
        EXPECT_EQ(cardFile.fileName(), std::optional<std::string>("C:\\good.mqf"));
        EXPECT_EQ(cardFile.deck(), deck);
        EXPECT_TRUE(cardFile.hasFile());
        EXPECT_EQ(window.title, "Mnemoquill: good");
    }

    void expectBoxes(const std::vector<std::string>& texts) {
        ASSERT_EQ(boxes.count(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(boxes.shown[i].text, texts[i]);
        }
    }
};

TEST(WindowTitle, ShowsTheBaseNameWithoutItsLastExtension) {
    EXPECT_EQ(windowTitle("C:\\Lernen\\Latein.mqf"), "Mnemoquill: Latein");
    EXPECT_EQ(windowTitle("a.b.mqf"), "Mnemoquill: a.b");
    EXPECT_EQ(windowTitle("C:\\x.y\\noext"), "Mnemoquill: noext");
    EXPECT_EQ(windowTitle("C:\\dir\\"), "Mnemoquill: ");
}

TEST_F(CardFileTest, OpenReadsEveryByteBacksUpAndSetsTheTitle) {
    // The last byte closes the question: dropping it would lose the question.
    const std::string bytes = "\xFF<C><S>3</S><Q>last</Q>";
    fs.files["C:\\cards\\Latein.mqf"] = bytes;
    boxes.answer(IDYES);  // the block has no end
    ASSERT_TRUE(open("C:\\cards\\Latein.mqf"));
    EXPECT_EQ(dialogs.openOwners, std::vector<WindowRef>{dialogWindow});
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(cardFile.hasFile());
    ASSERT_NE(cardFile.deck(), nullptr);
    ASSERT_EQ(cardFile.deck()->count(3), 1);
    EXPECT_EQ(cardFile.deck()->box(3).front()->getQuestion(), "last");
    EXPECT_EQ(fs.files[backup], bytes);
    EXPECT_EQ(window.title, "Mnemoquill: Latein");
}

TEST_F(CardFileTest, OneByteFileGoesToTheReader) {
    fs.files["one.txt"] = "x";
    boxes.answer(IDYES);
    ASSERT_TRUE(open("one.txt"));
    expectBoxes(
        {"Couldn't find a card.If you proceed the file willbe over written. Please "
         "ensureyou're using a right file!"});
    EXPECT_EQ(cardFile.deck()->count(0), 1);
}

TEST_F(CardFileTest, EmptyTextsAreRefusedAndChangeNothing) {
    openGoodFile();
    const CardBoxes* deck = cardFile.deck();
    for (const std::string& bytes : {std::string(), std::string("\0<C></C>", 8)}) {
        fs.files["empty.txt"] = bytes;
        EXPECT_FALSE(open("empty.txt"));
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().owner, dialogWindow);
        EXPECT_EQ(boxes.last().text, noCardData);
        EXPECT_EQ(boxes.last().caption, std::optional<std::string>("Sorry."));
        EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_ICONERROR));
        EXPECT_EQ(fs.files[backup], bytes);
        expectGoodFileStillCurrent(deck);
        boxes.clear();
    }
}

TEST_F(CardFileTest, TextEndsAtItsFirstNul) {
    fs.files["nul.txt"] = oneCard + '\0' + "<C><Q>hidden</Q></C>";
    ASSERT_TRUE(open("nul.txt"));
    EXPECT_EQ(cardFile.deck()->count(0), 0);
    EXPECT_EQ(cardFile.deck()->count(2), 1);
}

TEST_F(CardFileTest, MissingFileAsksAndOkFailsLikeAnInvalidHandle) {
    openGoodFile();
    const CardBoxes* deck = cardFile.deck();
    fs.files[backup] = "previous copy";
    EXPECT_FALSE(open("C:\\missing.mqf"));  // Cancel is the default
    expectBoxes({cannotOpen});
    EXPECT_EQ(boxes.last().owner, dialogWindow);
    EXPECT_EQ(boxes.last().caption, std::optional<std::string>("Sorry."));
    EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_OKCANCEL | MB_ICONERROR | MB_DEFBUTTON2));
    EXPECT_EQ(fs.files[backup], "");
    expectGoodFileStillCurrent(deck);

    boxes.clear();
    boxes.answer(IDOK);
    EXPECT_FALSE(open("C:\\missing.mqf"));
    expectBoxes({cannotOpen, "ReadFile-Fehler, err#: 6", noCardData});
    expectGoodFileStillCurrent(deck);

    // Without a name there is nothing to open at all.
    CardFile unnamed(platform);
    boxes.clear();
    EXPECT_FALSE(unnamed.loadCardFile(window));
    expectBoxes(
        {"Anyhow, I can't figure out the filename.\nOK proceeds with violated "
         "datas.\nCancel is a good idea."});
}

TEST_F(CardFileTest, FailedReadReportsAndGoesOnWithWhatArrived) {
    fs.files["two.txt"] = oneCard + "<C><S>4</S></C>";
    fs.failRead(ERROR_ACCESS_DENIED, oneCard.size());
    ASSERT_TRUE(open("two.txt"));
    expectBoxes({"ReadFile-Fehler, err#: 5"});
    EXPECT_EQ(cardFile.deck()->count(2), 1);
    EXPECT_EQ(cardFile.deck()->count(4), 0);

    boxes.clear();
    fs.failRead(ERROR_ACCESS_DENIED, 0);
    EXPECT_FALSE(open("two.txt"));
    expectBoxes({"ReadFile-Fehler, err#: 5", noCardData});
}

TEST_F(CardFileTest, DeclinedOverwriteOrCancelledDialogChangesNothing) {
    openGoodFile();
    const CardBoxes* deck = cardFile.deck();
    fs.files["notes.txt"] = "no cards";
    EXPECT_FALSE(open("notes.txt"));  // No is the default answer
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_FALSE(cardFile.openCardFile(window));  // nothing chosen: cancelled
    EXPECT_FALSE(cardFile.newCardFile(window));
    EXPECT_EQ(boxes.count(), 1u);
    expectGoodFileStillCurrent(deck);
}

TEST_F(CardFileTest, OpeningTheBackupItselfKeepsItsBytes) {
    fs.files[backup] = oneCard;
    ASSERT_TRUE(open(backup));
    EXPECT_EQ(fs.files[backup], oneCard);
}

TEST_F(CardFileTest, NewFileStartsEmptyAndIsCreatedByTheFirstSave) {
    openGoodFile();
    const auto filesBefore = fs.files;
    CardFile noFile(platform);
    noFile.save(window, ask);  // no file yet: nothing happens
    dialogs.saveWillChoose("C:\\neu\\Vokabeln.txt");
    ASSERT_TRUE(cardFile.newCardFile(window));
    EXPECT_EQ(fs.files, filesBefore);
    EXPECT_TRUE(cardFile.hasFile());
    EXPECT_EQ(cardFile.fileName(), std::optional<std::string>("C:\\neu\\Vokabeln.txt"));
    EXPECT_EQ(cardFile.deck()->count(2), 0);
    EXPECT_EQ(window.title, "Mnemoquill: Vokabeln");

    cardFile.save(window, ask);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(fs.files["C:\\neu\\Vokabeln.txt"], "");
}

std::string cardBytes(int box, const std::string& question, const std::string& answer) {
    return "<C>\r\n<M>+</M>\r\n<S>" + std::to_string(box) + "</S>\r\n<N>1</N>\r\n<Q>" + question +
           "</Q>\r\n<A>" + answer + "</A>\r\n<I></I>\r\n</C>\r\n";
}

TEST_F(CardFileTest, SavesInTheFilesKindUntilATextNeedsUtf8) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string latin = cardBytes(2,
                                        "Gr\xFC\xDF"
                                        "e",
                                        "\x80\x81\x8D\x8F\x90\x9D\xFF");
    const std::string latinAsUtf8 =
        cardBytes(2,
                  "Gr\xC3\xBC\xC3\x9F"
                  "e",
                  "\xE2\x82\xAC\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC3\xBF");
    const std::string lodz =
        "\xC5\x81\xC3\xB3"
        "d\xC5\xBA";
    const struct {
        const char* name;
        std::string bytes;
        std::optional<std::string> newAnswer;  // of the card in box 1
        std::string saved;
    } cases[] = {
        {"code page 1252, untouched", cardBytes(1, "q", "a") + latin, std::nullopt,
         cardBytes(1, "q", "a") + latin},
        {"code page 1252 given code page 1252 text", cardBytes(1, "q", "a") + latin, "caf\xC3\xA9",
         cardBytes(1, "q", "caf\xE9") + latin},
        {"code page 1252 given a character it lacks", cardBytes(1, "q", "a") + latin, lodz,
         bom + cardBytes(1, "q", lodz) + latinAsUtf8},
        {"code page 1252, read and backed up in several pieces",
         cardBytes(1, "q", std::string(2500000, '\xE9')) + latin, std::nullopt,
         cardBytes(1, "q", std::string(2500000, '\xE9')) + latin},
        {"UTF-8 holding ASCII only", bom + cardBytes(1, "q", "a"), std::nullopt,
         bom + cardBytes(1, "q", "a")},
        {"UTF-8 with bytes that are no UTF-8, another card edited",
         bom + cardBytes(1, "q", "a") + cardBytes(2, "\xFF\xC3(", "\xE2\x82"), "\xCE\xB1",
         bom + cardBytes(1, "q", "\xCE\xB1") + cardBytes(2, "\xFF\xC3(", "\xE2\x82")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs.files["C:\\deck.mqf"] = c.bytes;
        ASSERT_TRUE(open("C:\\deck.mqf"));
        if (c.newAnswer) {
            cardFile.deckSlot()->box(1).front()->setAnswer(*c.newAnswer);
        }
        ASSERT_TRUE(cardFile.save(window, ask));
        EXPECT_EQ(fs.files["C:\\deck.mqf"], c.saved);
        EXPECT_EQ(fs.files[backup], c.bytes);
    }
    // Once UTF-8, a deck stays so, even without the character that made it so.
    cardFile.deckSlot()->box(1).front()->setAnswer("a");
    ASSERT_TRUE(cardFile.save(window, ask));
    EXPECT_EQ(fs.files["C:\\deck.mqf"].substr(0, 3), bom);
    // A new card file starts as code page 1252 and takes UTF-8 when it must.
    dialogs.saveWillChoose("C:\\new.txt");
    ASSERT_TRUE(cardFile.newCardFile(window));
    cardFile.deckSlot()->insertFirst(std::make_shared<Card>(1), 1);
    cardFile.deckSlot()->box(1).front()->setQuestion("\xCE\x95\xCE\xBB");
    ASSERT_TRUE(cardFile.save(window, ask));
    EXPECT_EQ(fs.files["C:\\new.txt"].substr(0, 6), bom + "<C>");
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(CardFileTest, SaveAsksWhenAnotherProgramChangedTheFileAndCancelKeepsIt) {
    const std::string path = "C:\\good.mqf";
    const std::string other = "<C><S>2</S><Q>other</Q></C>\r\n";
    const auto later = [this] { fs.now += 10 * FakeFileSystem::second; };
    struct Case {
        const char* name;
        std::function<void()> meanwhile;
        bool asks;
    } cases[] = {
        {"untouched", [] {}, false},
        {"another size", [&] { fs.files[path] += "\r\n"; }, true},
        {"another time", [&] { fs.writeTimes[path] = 7; }, true},
        // Just saved, so the time cannot tell a write in the same tick.
        {"the same size and time after a save",
         [&] {
             ASSERT_TRUE(cardFile.save(window, ask));
             const std::uint64_t time = fs.writeTimes[path];
             std::string& bytes = fs.files[path];
             bytes[bytes.find("latin")] = 'L';
             fs.writeTimes[path] = time;
             later();
         },
         true},
        {"the same bytes after a save",
         [&] {
             ASSERT_TRUE(cardFile.save(window, ask));
             later();
         },
         false},
        {"removed", [&] { fs.files.erase(path); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs.files[path] = oneCard;
        fs.writeTimes.erase(path);
        ASSERT_TRUE(open(path));
        c.meanwhile();
        const std::string onDisk = fs.exists(path) ? fs.files[path] : "";
        for (const ChangedFileChoice answer :
             {ChangedFileChoice::cancel, ChangedFileChoice::replace}) {
            asked = 0;
            choice = answer;
            const bool saved = cardFile.save(window, ask);
            const bool kept = c.asks && answer == ChangedFileChoice::cancel;
            EXPECT_EQ(saved, !kept);
            EXPECT_EQ(asked, c.asks ? 1 : 0);
            EXPECT_EQ(fs.files[path], kept ? onDisk : composeCardText(*cardFile.deck()));
            if (!c.asks) break;
        }
        // Saved: the file is known again.
        asked = 0;
        EXPECT_TRUE(cardFile.save(window, ask));
        EXPECT_EQ(asked, 0);
    }
}

TEST_F(CardFileTest, MergeSavesBothSidesOverTheBaseAndAnUnreadableFileMergesNothing) {
    const std::string path = "C:\\good.mqf";
    fs.files[path] = cardBytes(1, "a", "") + cardBytes(1, "b", "");
    ASSERT_TRUE(open(path));
    CardRef current;
    cardFile.deckSlot()->moveUp(1, current);  // a: here, to box 2
    fs.files[path] = cardBytes(1, "a", "") + cardBytes(3, "b", "") + cardBytes(0, "c", "");
    fs.now += 10 * FakeFileSystem::second;
    choice = ChangedFileChoice::merge;
    ASSERT_TRUE(cardFile.save(window, ask));
    const MergeSummary summary{1, 1, 1, 0, 0};
    EXPECT_EQ(cardFile.takeMerge(), summary);
    EXPECT_FALSE(cardFile.takeMerge());
    EXPECT_EQ(fs.files[path], composeCardText(*cardFile.deck()));
    EXPECT_EQ(cardFile.deck()->count(2), 1);
    EXPECT_EQ(cardFile.deck()->count(3), 1);

    fs.files[path] = "no cards";
    fs.now += 10 * FakeFileSystem::second;
    boxes.clear();
    EXPECT_FALSE(cardFile.save(window, ask));
    EXPECT_FALSE(cardFile.takeMerge());
    EXPECT_EQ(fs.files[path], "no cards");
    EXPECT_EQ(boxes.count(), 1u);
}

}  // namespace
