#include "ViewFixture.h"
#include "platform/WinConstants.h"

namespace {
const std::string deckText =
    cardFileText({{1, "one"}, {1, "two"}, {2, "dog"}, {3, "cat"}, {3, "cow"}});
}  // namespace

class EditingTest : public ViewTest {
protected:
    EditingTest() {
        open(deckText);
        boxes.clear();
    }
    const Card& front(int box) const { return *view.deck()->box(box).front(); }
};

TEST_F(EditingTest, SwitchingOnAsksNothingAndOpensThePanes) {
    dialog.focus = ids::nextButton;
    press(ids::editItem);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Switch off by clicking edit again.");
    EXPECT_EQ(boxes.last().caption, "Edit Mode:");
    EXPECT_EQ(boxes.last().owner, FakeDialog::handle);
    EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_OK));
    EXPECT_EQ(boxes.focusDuringBox, std::vector<int>{ids::nextButton});
    EXPECT_EQ(dialog.focus, ids::questionPane);

    EXPECT_TRUE(dialog.itemChecked(ids::editItem));
    EXPECT_FALSE(dialog.control(ids::questionPane).readOnly);
    EXPECT_FALSE(dialog.control(ids::answerPane).readOnly);
    EXPECT_TRUE(dialog.itemEnabled(ids::insertItem));
    EXPECT_TRUE(dialog.itemEnabled(ids::deleteItem));
    EXPECT_EQ(cardButtons(), (std::vector<bool>{false, false, true, true}));

    press(ids::editItem);
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(dialog.control(ids::questionPane).readOnly);
    EXPECT_FALSE(dialog.itemEnabled(ids::insertItem));
    EXPECT_FALSE(dialog.itemEnabled(ids::deleteItem));
    // Box 1 is selected, yet leaving edit mode enables Back as well.
    EXPECT_EQ(cardButtons(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(EditingTest, TypedTextIsStoredByNextAndLostBySwitchingOff) {
    EXPECT_FALSE(dialog.type(ids::questionPane, "uno?"));
    press(ids::editItem);
    ASSERT_TRUE(dialog.type(ids::questionPane, "uno?"));
    press(ids::editItem);
    EXPECT_EQ(front(1).getQuestion(), "one?");

    press(ids::editItem);
    dialog.type(ids::questionPane, "uno?");
    dialog.type(ids::answerPane, "numeral");
    press(ids::nextButton);
    EXPECT_EQ(question(), "two?");
    const Card& one = *view.deck()->box(1).back();
    EXPECT_EQ(one.getQuestion(), "uno?");
    EXPECT_EQ(one.getInfo(), "numeral");
    EXPECT_EQ(one.getAnswer(), "one!");
}

TEST_F(EditingTest, SwitchingOnInAnEmptyBoxInsertsACard) {
    dialog.click(ids::box4Radio);
    press(ids::editItem);
    EXPECT_EQ(count(4), "1");
    EXPECT_EQ(question(), "");
    EXPECT_EQ(answerPane(), "");
    EXPECT_EQ(front(4).getQuestion(), "empty question");
    EXPECT_EQ(front(4).getInfo(), "empty info");
    EXPECT_EQ(front(4).getSection(), 4);
    EXPECT_EQ(cardButtons(), (std::vector<bool>{false, false, true, true}));
    press(ids::showButton);
    EXPECT_EQ(answerPane(), "empty answer");

    // The same happens when an empty box is chosen while editing.
    dialog.click(ids::box5Radio);
    EXPECT_EQ(count(5), "1");
    EXPECT_EQ(view.deck()->box(5).front(), view.view().currentCard);
}

TEST_F(EditingTest, InsertGoesInFrontOfTheCardShown) {
    dialog.click(ids::box2Radio);
    press(ids::editItem);
    press(ids::insertItem);
    EXPECT_EQ(count(2), "2");
    EXPECT_EQ(question(), "");
    dialog.type(ids::questionPane, "bird?");
    press(ids::nextButton);
    EXPECT_EQ(question(), "dog?");
    EXPECT_EQ(questionsIn(2), (std::vector<std::string>{"dog?", "bird?"}));
}

TEST_F(EditingTest, DeletingTheOnlyCardEndsEditMode) {
    dialog.click(ids::box2Radio);
    press(ids::editItem);
    press(ids::deleteItem);
    EXPECT_EQ(answerPane(), "no cards.");
    EXPECT_EQ(count(2), "0");
    EXPECT_FALSE(dialog.itemChecked(ids::editItem));
    EXPECT_TRUE(dialog.control(ids::questionPane).readOnly);
    EXPECT_EQ(cardButtons(), allOff);
    // The removed card is still the active one, and still a card.
    EXPECT_EQ(view.activeCard()->getQuestion(), "dog?");
    EXPECT_EQ(view.activeCard()->isInit(), 0);
}

TEST_F(EditingTest, InsertAndDeleteDoNothingOutsideEditMode) {
    const FakeDialog before = dialog;
    press(ids::insertItem);
    press(ids::deleteItem);
    EXPECT_TRUE(dialog.looksLike(before));
    EXPECT_EQ(questionsIn(1), (std::vector<std::string>{"one?", "two?"}));
}
