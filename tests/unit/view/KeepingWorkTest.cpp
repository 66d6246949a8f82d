#include "ViewFixture.h"
#include "platform/WinConstants.h"

namespace {
const std::string deckText = cardFileText({{1, "one"}, {1, "two"}, {2, "dog"}, {3, "cat"}});
const std::string otherPath = "C:\\cards\\other.mqf";
}  // namespace

class KeepingWorkTest : public ViewTest {
protected:
    KeepingWorkTest() : saveAsWithoutFile(dialog.itemEnabled(ids::saveAsItem)) {
        open(deckText);
        boxes.clear();
    }
    const bool saveAsWithoutFile;
    void typeQuestionInEditMode(const std::string& text) {
        press(ids::editItem);
        ASSERT_TRUE(dialog.type(ids::questionPane, text));
    }
    bool savedHolds(const std::string& path, const std::string& text) {
        return files.files[path].find(text) != std::string::npos;
    }
};

TEST_F(KeepingWorkTest, YesBeforeOpenOrNewSavesWhatWasTyped) {
    for (const int command : {ids::openItem, ids::newItem}) {
        SCOPED_TRACE(command);
        files.files[deckPath] = deckText;
        typeQuestionInEditMode("uno?");
        boxes.answer(IDYES);
        press(command);  // its file dialog is cancelled
        EXPECT_TRUE(savedHolds(deckPath, "<Q>uno?</Q>"));
        boxes.answer(IDNO);
        open(deckText);
    }
    typeQuestionInEditMode("uno?");
    boxes.answer(IDNO);
    press(ids::openItem);
    EXPECT_EQ(files.files[deckPath], deckText);
}

TEST_F(KeepingWorkTest, CloseStaysOpenOnlyWhenTheSaveAskedForFailed) {
    struct Case {
        int answer;
        bool failing;
        bool closes;
    };
    for (const Case c :
         {Case{IDYES, true, false}, Case{IDNO, true, true}, Case{IDYES, false, true}}) {
        files.clearFailures();
        if (c.failing) files.failCreate(ERROR_DISK_FULL);
        boxes.clear();
        boxes.answer(c.answer);
        EXPECT_EQ(view.onClose(dialog), c.closes);
        EXPECT_EQ(boxes.count(), c.answer == IDYES && c.failing ? 2u : 1u);
    }
    EXPECT_EQ(view.deck()->count(1), 2);
}

TEST_F(KeepingWorkTest, SaveAsWritesTheDeckUnderTheNewNameAndKeepsIt) {
    EXPECT_FALSE(saveAsWithoutFile);
    EXPECT_TRUE(dialog.itemEnabled(ids::saveAsItem));

    const FakeDialog before = dialog;
    press(ids::saveAsItem);  // cancelled
    files.failCreate(ERROR_ACCESS_DENIED);
    fileDialogs.saveWillChoose(otherPath);
    press(ids::saveAsItem);  // failed: one box, nothing else
    EXPECT_TRUE(dialog.looksLike(before));
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_FALSE(files.exists(otherPath));

    files.clearFailures();
    typeQuestionInEditMode("uno?");
    fileDialogs.saveWillChoose(otherPath);
    press(ids::saveAsItem);
    EXPECT_EQ(dialog.title, "Mnemoquill: other");
    EXPECT_EQ(fileDialogs.saveOwners.back(), FakeDialog::handle);
    EXPECT_TRUE(savedHolds(otherPath, "<Q>uno?</Q>"));
    EXPECT_EQ(files.files[deckPath], deckText);
    EXPECT_EQ(*view.cardFile().fileName(), otherPath);
}

TEST_F(KeepingWorkTest, ACardInsertedIntoAnEmptyBoxIsTheCardEveryCommandActsOn) {
    press(ids::box4Radio);  // empty
    typeQuestionInEditMode("typed?");
    EXPECT_EQ(view.activeCard(), view.view().currentCard);
    press(ids::previousItem);
    EXPECT_EQ(question(), "typed?");
    EXPECT_EQ(questionsIn(4), std::vector<std::string>{"typed?"});
    press(ids::deleteItem);
    EXPECT_EQ(view.deck()->count(4), 0);
    EXPECT_EQ(questionsIn(1), (std::vector<std::string>{"one?", "two?"}));
    press(ids::box1Radio);
    EXPECT_EQ(question(), "one?");
}

TEST_F(KeepingWorkTest, ACardThatEmptiedItsBoxStillShowsAfterANewCardWasDrawn) {
    boxes.answer(IDNO);
    open(cardFileText({{0, "new"}, {1, "one"}, {3, "cat"}}));
    press(ids::box3Radio);
    press(ids::backButton);  // box 3 runs empty; "cat?" goes to the back of box 1
    press(ids::getNewCardItem);
    press(ids::nextButton);
    EXPECT_EQ(question(), "cat?");
    press(ids::showButton);
    EXPECT_EQ(answerPane(), "cat!");
    press(ids::editItem);
    press(ids::box1Radio);  // cards there: nothing is inserted
    EXPECT_EQ(view.deck()->count(1), 3);
}

TEST_F(KeepingWorkTest, CommandsGivenWhileABoxIsUpAreDropped) {
    std::vector<CommandOutcome> meanwhile;
    boxes.whileShown = [&](const std::string& text) {
        if (text.rfind("Couldn't find a card.", 0) != 0) return;
        files.files[otherPath] = deckText;
        fileDialogs.openWillChoose(otherPath);
        meanwhile.push_back(press(ids::openItem));
        meanwhile.push_back(press(ids::nextButton));
        EXPECT_FALSE(view.onClose(dialog));
    };
    boxes.answer(IDNO);   // "Save CardFile?"
    boxes.answer(IDYES);  // "Overwrite?": go on
    open("no card\r\n", "C:\\cards\\junk.txt");
    EXPECT_EQ(meanwhile, std::vector<CommandOutcome>(2, CommandOutcome::Dropped));
    EXPECT_EQ(dialog.title, "Mnemoquill: junk");
    EXPECT_EQ(*view.cardFile().fileName(), "C:\\cards\\junk.txt");

    boxes.whileShown = nullptr;
    fileDialogs.openAnswers.clear();
    press(ids::box3Radio);  // the program's own click on Box1 still gets through
    press(ids::getNewCardItem);
    EXPECT_TRUE(dialog.checked(ids::box1Radio));
}
