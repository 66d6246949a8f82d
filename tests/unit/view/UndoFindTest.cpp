#include "ViewFixture.h"
#include "platform/WinConstants.h"

namespace {
const std::string deckText = "\xEF\xBB\xBF" + cardFileText({{0, "new"},
                                                            {1, "one"},
                                                            {1, "two"},
                                                            {2, "dog"},
                                                            {2, "Ärger"},
                                                            {3, "cat"},
                                                            {3, "cow"},
                                                            {6, "top"}});
}  // namespace

class UndoFindTest : public ViewTest {
protected:
    UndoFindTest() {
        open(deckText);
        boxes.clear();
    }

    // Everything Undo must put back: each card with its place, mark, section, texts,
    // flag and day, the counts of each day learned, and what the dialog shows.
    std::string state() const {
        std::string text;
        for (const auto& [day, tally] : view.deck()->history().days()) {
            text += std::to_string(day) + ":" + std::to_string(tally.up) + "," +
                    std::to_string(tally.back) + "," + std::to_string(tally.drawn) + " ";
        }
        for (int box = 0; box < CardBoxes::boxCount; ++box) {
            for (const CardRef& c : view.deck()->box(box)) {
                text += std::string(c->getQuestion()) + "|" + std::string(c->getAnswer()) + "|" +
                        std::string(c->getInfo()) + "|" + std::string(c->getMark()) +
                        std::to_string(c->getSection()) + std::to_string(c->isInit()) + "@" +
                        std::to_string(c->getDay()) + " ";
            }
            text += "/ ";
        }
        FakeDialog& shown = const_cast<FakeDialog&>(dialog);
        return text + std::to_string(getSelectedBox(shown)) + " " + question() + " " +
               answerPane() + " " + count(1) + count(2) + count(3) + dialog.text(ids::dueLine) +
               std::to_string(view.activeCard()->isInit());
    }
    void edit() {
        press(ids::editItem);
        boxes.clear();
    }
    void find(const std::string& text) {
        dialog.findAnswer = text;
        press(ids::findItem);
    }
};

TEST_F(UndoFindTest, EachStepIsUndoneWithTheNavigationAfterItAndRedone) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::function<void()> step;
    };
    const std::vector<Case> cases{
        {"move", [] {}, [this] { press(ids::moveButton); }},
        {"back", [this] { dialog.click(ids::box2Radio); }, [this] { press(ids::backButton); }},
        {"get new card", [this] { dialog.click(ids::box3Radio); },
         [this] { press(ids::getNewCardItem); }},
        {"insert", [this] { edit(); }, [this] { press(ids::insertItem); }},
        {"delete", [this] { edit(); }, [this] { press(ids::deleteItem); }},
        {"delete the last card",
         [this] {
             press(ids::box6Item);
             edit();
         },
         [this] { press(ids::deleteItem); }},
        {"typing stored by Next", [this] { edit(); },
         [this] {
             dialog.type(ids::answerPane, "a dozen");
             press(ids::nextButton);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.answer(IDNO);  // each case starts on the deck as the file holds it
        open(deckText);
        c.prepare();
        const std::string before = state();
        c.step();
        ASSERT_NE(state(), before);
        ASSERT_TRUE(dialog.itemEnabled(ids::undoItem));
        // Navigation after the step goes back with it.
        press(ids::nextButton);
        press(ids::box3Radio);
        press(ids::nextButton);
        const std::string navigated = state();

        press(ids::undoItem);
        EXPECT_EQ(state(), before);
        EXPECT_FALSE(dialog.itemEnabled(ids::undoItem));
        EXPECT_TRUE(dialog.itemEnabled(ids::redoItem));
        press(ids::redoItem);
        EXPECT_EQ(state(), navigated);
        EXPECT_FALSE(dialog.itemEnabled(ids::redoItem));
        press(ids::undoItem);
        EXPECT_EQ(state(), before);
    }
}

TEST_F(UndoFindTest, RedoAfterNavigatingAndStepsOnStepsComeBackExactly) {
    const std::string start = state();
    press(ids::moveButton);
    press(ids::box2Radio);
    press(ids::nextButton);
    press(ids::backButton);
    const std::string end = state();
    press(ids::undoItem);
    press(ids::undoItem);
    EXPECT_EQ(state(), start);
    press(ids::box3Radio);
    press(ids::nextButton);
    press(ids::redoItem);
    press(ids::redoItem);
    EXPECT_EQ(state(), end);

    // A new step leaves nothing to redo.
    press(ids::undoItem);
    press(ids::moveButton);
    EXPECT_FALSE(dialog.itemEnabled(ids::redoItem));
}

TEST_F(UndoFindTest, HistoryHoldsAThousandStepsAndStartsAfreshWithOpenAndNew) {
    edit();
    for (int i = 0; i <= 1000; ++i) {
        dialog.type(ids::questionPane, "q" + std::to_string(i));
        press(ids::showButton);
    }
    int undone = 0;
    while (dialog.itemEnabled(ids::undoItem)) {
        press(ids::undoItem);
        ++undone;
    }
    EXPECT_EQ(undone, 1000);
    EXPECT_EQ(question(), "q0");

    press(ids::saveItem);
    EXPECT_TRUE(dialog.itemEnabled(ids::redoItem));
    boxes.answer(IDNO);
    open(deckText);
    EXPECT_FALSE(dialog.itemEnabled(ids::redoItem));
    press(ids::moveButton);
    fileDialogs.saveWillChoose("C:\\cards\\other.mqf");
    press(ids::newItem);
    EXPECT_FALSE(dialog.itemEnabled(ids::undoItem));
}

TEST_F(UndoFindTest, CtrlZInAPaneWithTypingIsThePanesOwnUndo) {
    press(ids::moveButton);
    edit();
    dialog.type(ids::questionPane, "tw");
    press(ids::undoItem);
    EXPECT_EQ(question(), "two?");
    EXPECT_TRUE(dialog.itemEnabled(ids::undoItem));
    // Typing back what the card holds is nothing to undo: the step goes.
    dialog.type(ids::questionPane, "two?");
    press(ids::undoItem);
    EXPECT_EQ(questionsIn(1), (std::vector<std::string>{"one?", "two?"}));
}

TEST_F(UndoFindTest, FindGoesUpTheBoxesFromTheCardShownAndRoundToIt) {
    find("W");
    EXPECT_EQ(question(), "two?");
    press(ids::findNextItem);
    EXPECT_EQ(getSelectedBox(dialog), 3);
    EXPECT_EQ(question(), "cow?");
    EXPECT_EQ(questionsIn(3), (std::vector<std::string>{"cow?", "cat?"}));
    EXPECT_EQ(view.deck()->box(3)[0]->getMark(), "+");
    EXPECT_EQ(view.deck()->box(3)[1]->getMark(), "-");
    press(ids::findNextItem);  // past box 6
    EXPECT_TRUE(dialog.itemChecked(ids::box0Item));
    EXPECT_EQ(question(), "new?");
    press(ids::findNextItem);
    EXPECT_EQ(question(), "two?");
    EXPECT_EQ(dialog.findShown, (std::vector<std::string>{""}));

    find("ärger.");  // the info, in other case
    EXPECT_EQ(question(), "Ärger?");
    EXPECT_EQ(dialog.findShown.back(), "W");
    find("Ärger");  // the card shown, found last
    EXPECT_EQ(question(), "Ärger?");

    const std::string before = state();
    find("pferd");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Cannot find \"pferd\".");
    EXPECT_EQ(boxes.last().caption, "Mnemoquill");
    EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(state(), before);
    // Find only navigates.
    EXPECT_FALSE(dialog.itemEnabled(ids::undoItem));
}

TEST_F(UndoFindTest, FindStoresTypingFirstAndWithoutTextAsksForIt) {
    dialog.findAnswer.reset();
    press(ids::findNextItem);
    EXPECT_EQ(dialog.findShown.size(), 1u);
    edit();
    dialog.type(ids::answerPane, "a wolf");
    find("wolf");
    EXPECT_EQ(question(), "one?");
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_TRUE(dialog.itemEnabled(ids::undoItem));
}
