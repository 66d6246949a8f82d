#include <memory>

#include "ViewFixture.h"
#include "cardfile/CardWriter.h"
#include "fakes/FakeServices.h"
#include "platform/WinConstants.h"

namespace {
const std::string deckText = cardFileText(
    {{0, "new"}, {0, "old"}, {1, "one"}, {1, "two"}, {2, "dog"}, {2, "cat"}, {6, "top"}});
const std::string recoveryText =
    "Mnemoquill was not closed properly.\n\nThe card file C:\\cards\\deck.mqf has 3 unsaved "
    "changes, the last at 09:30 on 2026-12-08.\n\nDo you want to bring them back?";

// The program started anew on the disk that a crashed run left.
struct Restart : FakeServices {
    explicit Restart(const FakeFileSystem& left) {
        files.files = left.files;
        files.writeTimes = left.writeTimes;
        files.now = left.now + 60 * FakeFileSystem::second;
        dialog.commandSink = [this](int id) { dispatchCommand(view, dialog, id); };
        view.onInitDialog(dialog);
    }
    std::string cards() const { return view.deck() ? composeCardText(*view.deck()) : ""; }
    void press(int id) { dispatchCommand(view, dialog, id); }

    FakeDialog dialog;
    MQMainView view{platform, recentStore};
};
}  // namespace

class RecoveryTest : public ViewTest {
protected:
    RecoveryTest() {
        open(deckText);
        boxes.clear();
    }
    std::string record() const { return recovery.path + "run1.mqr"; }
    std::string cards() const { return composeCardText(*view.deck()); }
    void edit() {
        press(ids::editItem);
        boxes.clear();
    }
    // The run "crashes" here: its files stay as they are, held by nobody.
    std::unique_ptr<Restart> restart(int answer) {
        auto next = std::make_unique<Restart>(files);
        next->boxes.answer(answer);
        next->view.offerRecovery(next->dialog);
        return next;
    }
};

TEST_F(RecoveryTest, EveryKindOfStepIsReplayedToTheDeckItMade) {
    struct Case {
        const char* name;
        std::function<void()> steps;
    };
    const std::vector<Case> cases{
        {"move, back, get new card",
         [this] {
             dialog.click(ids::box2Radio);
             press(ids::backButton);
             press(ids::getNewCardItem);
         }},
        {"next and previous",
         [this] {
             press(ids::nextButton);
             dialog.click(ids::box2Radio);
             press(ids::previousItem);
         }},
        {"insert with typing, delete",
         [this] {
             edit();
             press(ids::insertItem);
             dialog.type(ids::questionPane, "neu");
             press(ids::nextButton);
             press(ids::box6Item);
             press(ids::deleteItem);
         }},
        {"undo and redo of a move and a delete",
         [this] {
             press(ids::moveButton);
             press(ids::undoItem);
             edit();
             press(ids::deleteItem);
             press(ids::undoItem);
             press(ids::redoItem);
             press(ids::undoItem);
         }},
        {"typing, its undo and redo",
         [this] {
             edit();
             dialog.type(ids::answerPane,
                         "\xC5\x81\xC3\xB3"
                         "d\xC5\xBA");
             press(ids::showButton);
             press(ids::undoItem);
             press(ids::redoItem);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.answer(IDNO);
        open(deckText);
        // The first change goes into the record's base; the case's steps follow it.
        press(ids::moveButton);
        c.steps();
        const auto next = restart(IDYES);
        EXPECT_EQ(next->cards(), cards());
        EXPECT_EQ(next->dialog.title, "Mnemoquill: deck");
        EXPECT_EQ(getSelectedBox(next->dialog), getSelectedBox(dialog));
        // Still unsaved: the next save question writes them.
        EXPECT_EQ(next->files.files[deckPath], deckText);
        EXPECT_TRUE(next->view.recovery().hasChanges());
        next->boxes.answer(IDYES);
        next->press(ids::saveItem);
        EXPECT_EQ(next->files.files[deckPath], cards());
    }
}

TEST_F(RecoveryTest, TheQuestionNamesFileChangesAndTimeAndNoDropsThem) {
    press(ids::moveButton);
    clock.minute = 9 * 60 + 10;
    press(ids::moveButton);
    press(ids::nextButton);  // turns count in the deck, not as changes
    clock.minute = 9 * 60 + 30;
    press(ids::getNewCardItem);
    const auto next = restart(IDNO);
    ASSERT_EQ(next->boxes.count(), 1u);
    EXPECT_EQ(next->boxes.last().text, recoveryText);
    EXPECT_EQ(next->boxes.last().caption, "Mnemoquill");
    EXPECT_EQ(next->boxes.last().owner, FakeDialog::handle);
    EXPECT_EQ(next->boxes.last().type, static_cast<unsigned>(MB_YESNO | MB_ICONWARNING));
    EXPECT_EQ(next->view.deck(), nullptr);
    EXPECT_EQ(next->files.files[deckPath], deckText);
    Restart after(next->files);
    after.view.offerRecovery(after.dialog);
    EXPECT_EQ(after.boxes.count(), 0u);
}

TEST_F(RecoveryTest, ATornLastWriteLosesOnlyThatStep) {
    press(ids::moveButton);
    press(ids::moveButton);
    const std::string afterTwo = cards();
    press(ids::getNewCardItem);
    std::string& bytes = files.files[record()];
    for (const std::size_t cut : {std::size_t{1}, std::size_t{20}}) {
        SCOPED_TRACE(cut);
        const std::string whole = bytes;
        bytes.resize(bytes.size() - cut);
        EXPECT_EQ(restart(IDYES)->cards(), afterTwo);
        bytes = whole;
    }
    bytes[bytes.size() - 2] ^= 1;  // whole, but not what was written
    EXPECT_EQ(restart(IDYES)->cards(), afterTwo);

    // A base that is not the one the record began with is named, never replayed.
    files.files[recovery.path + "run1.mqb"] += "x";
    const auto damaged = restart(IDYES);
    EXPECT_EQ(damaged->view.deck(), nullptr);
    EXPECT_EQ(damaged->boxes.last().text.rfind("The unsaved changes can't be brought back", 0), 0u);
    EXPECT_FALSE(damaged->files.exists(record()));
    EXPECT_TRUE(damaged->files.exists(recovery.path + "run1.mqb"));
}

TEST_F(RecoveryTest, ARecordWhoseFileChangedOrWentIsNotMixedWithIt) {
    press(ids::moveButton);
    press(ids::moveButton);
    const std::string recovered = cards();
    const std::string other = cardFileText({{1, "laptop"}});
    for (const bool removed : {false, true}) {
        SCOPED_TRACE(removed);
        if (removed) {
            files.files.erase(deckPath);
        } else {
            files.files[deckPath] = other;
        }
        auto next = std::make_unique<Restart>(files);
        next->boxes.answer(IDYES);
        next->fileDialogs.saveWillChoose("C:\\cards\\kept.mqf");
        next->view.offerRecovery(next->dialog);
        ASSERT_EQ(next->boxes.count(), 2u);
        EXPECT_EQ(
            next->boxes.last().text.rfind(removed ? "The card file C:\\cards\\deck.mqf was removed"
                                                  : "The card file C:\\cards\\deck.mqf was changed",
                                          0),
            0u);
        EXPECT_EQ(next->boxes.last().type, static_cast<unsigned>(MB_OK | MB_ICONWARNING));
        EXPECT_EQ(next->files.files["C:\\cards\\kept.mqf"], recovered);
        EXPECT_EQ(next->dialog.title, "Mnemoquill: kept");
        EXPECT_EQ(next->files.exists(deckPath) ? next->files.files[deckPath] : "",
                  removed ? "" : other);
        EXPECT_FALSE(next->view.recovery().hasChanges());
    }
    // Save As cancelled: the deck keeps its name, and its save asks first.
    files.files[deckPath] = other;
    auto next = std::make_unique<Restart>(files);
    next->boxes.answer(IDYES);
    next->view.offerRecovery(next->dialog);
    EXPECT_EQ(next->cards(), recovered);
    next->boxes.answer(IDYES);
    next->dialog.changedFileAnswers.push_back(IDCANCEL);
    next->press(ids::saveItem);
    ASSERT_EQ(next->dialog.changedFileTexts.size(), 1u);
    EXPECT_EQ(next->dialog.changedFileTexts[0].rfind(
                  "The card file was changed by another program since it was opened.", 0),
              0u);
    EXPECT_EQ(next->files.files[deckPath], other);
}

TEST_F(RecoveryTest, TheRecordGoesWithASaveAndANormalEndButNotWithAFailedSave) {
    press(ids::moveButton);
    ASSERT_TRUE(files.exists(record()));
    ASSERT_TRUE(files.exists(recovery.path + "run1.mqb"));
    boxes.answer(IDYES);
    press(ids::saveItem);
    EXPECT_FALSE(files.exists(record()));
    EXPECT_FALSE(files.exists(recovery.path + "run1.mqb"));
    press(ids::moveButton);
    files.failCreate(ERROR_DISK_FULL);
    boxes.answer(IDYES);
    EXPECT_FALSE(view.onClose(dialog));
    EXPECT_TRUE(files.exists(record()));
    files.clearFailures();
    boxes.answer(IDNO);
    EXPECT_TRUE(view.onClose(dialog));
    EXPECT_FALSE(files.exists(record()));
    EXPECT_EQ(files.held[record()], 0);
}

TEST_F(RecoveryTest, ARecordHeldByARunningProgramIsNotOffered) {
    press(ids::moveButton);
    Restart second(files);
    ErrorCode error = 0;
    auto holding = second.files.openForAppending(record(), error);
    second.view.offerRecovery(second.dialog);
    EXPECT_EQ(second.boxes.count(), 0u);
    EXPECT_TRUE(second.files.exists(record()));
}

TEST_F(RecoveryTest, WithoutARecoveryFolderTheUserIsToldOnceAndWorkGoesOn) {
    recovery.failure = ERROR_ACCESS_DENIED;
    press(ids::moveButton);
    press(ids::moveButton);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text.rfind("Mnemoquill can't keep a record of the unsaved changes", 0),
              0u);
    EXPECT_TRUE(view.recovery().hasChanges());
}

TEST_F(RecoveryTest, ChangedOnDiskTheDeckReloadsOnActivationOnlyWithoutUnsavedChanges) {
    dialog.click(ids::box2Radio);
    press(ids::nextButton);  // cat shown in box 2
    const std::string appended = deckText + cardFileText({{2, "cow"}});
    files.files[deckPath] = appended;
    view.onActivated(dialog);
    EXPECT_EQ(questionsIn(2), (std::vector<std::string>{"cat?", "cow?", "dog?"}));
    EXPECT_EQ(getSelectedBox(dialog), 2);
    EXPECT_EQ(question(), "cat?");

    press(ids::moveButton);
    files.files[deckPath] = deckText;
    view.onActivated(dialog);
    EXPECT_EQ(questionsIn(2), (std::vector<std::string>{"cow?", "dog?"}));
    // Closing asks, and Cancel keeps the program and the other program's file.
    boxes.answer(IDYES);
    dialog.changedFileAnswers.push_back(IDCANCEL);
    EXPECT_FALSE(view.onClose(dialog));
    EXPECT_EQ(files.files[deckPath], deckText);
    EXPECT_EQ(dialog.changedFileTexts.size(), 1u);
    // Merge: cat's Move here, cow deleted there, saved and shown, summed up in a box.
    boxes.answer(IDYES);
    EXPECT_TRUE(view.onClose(dialog));
    EXPECT_EQ(boxes.last().text,
              "1 learned here, 0 learned there, 0 added, 1 removed, 0 edited on both sides "
              "(both kept)");
    EXPECT_EQ(boxes.last().caption, "Mnemoquill");
    EXPECT_EQ(questionsIn(2), std::vector<std::string>{"dog?"});
    EXPECT_EQ(files.files[deckPath], composeCardText(*view.deck()));
    EXPECT_FALSE(files.exists(record()));
}

// A sync client's conflicted copy beside the deck is merged in at the open and goes
// to the Recycle Bin; a file that only looks like one is left alone.
TEST_F(RecoveryTest, AConflictedCopyIsOfferedAtTheOpenAndYesMergesAndRecyclesIt) {
    const std::string copy = "C:\\cards\\deck-LAPTOP.mqf";
    const std::string lookalike = "C:\\cards\\deck-GREEK.mqf";
    files.files[copy] = deckText + cardFileText({{3, "owl"}});
    files.files[lookalike] = cardFileText({{1, "alpha"}});
    for (const int answer : {IDNO, IDYES}) {
        boxes.clear();
        boxes.answers = {IDNO, answer};  // No to saving the deck before the open
        open(deckText);
        ASSERT_GE(boxes.count(), 2u);
        EXPECT_NE(boxes.shown[1].text.find("deck-LAPTOP.mqf"), std::string::npos);
        EXPECT_EQ(boxes.shown[1].text.find("deck-GREEK"), std::string::npos);
        EXPECT_EQ(files.exists(copy), answer == IDNO);
    }
    EXPECT_EQ(boxes.last().text,
              "0 learned here, 0 learned there, 1 added, 0 removed, 0 edited on both sides "
              "(both kept)");
    EXPECT_EQ(files.recycled.count(copy), 1u);
    EXPECT_TRUE(files.exists(lookalike));
    EXPECT_EQ(questionsIn(3), std::vector<std::string>{"owl?"});
    EXPECT_EQ(files.files[deckPath], composeCardText(*view.deck()));
}
