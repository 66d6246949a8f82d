#include "ViewFixture.h"
#include "platform/WinConstants.h"

namespace {
const std::string deckText = cardFileText(
    {{0, "new"}, {1, "one"}, {1, "two"}, {2, "dog"}, {3, "cat"}, {3, "cow"}, {6, "top"}});
}  // namespace

class LearningTest : public ViewTest {
protected:
    LearningTest() { open(deckText); }
};

TEST_F(ViewTest, GetNewCardIntoEmptyBox1ShowsTheNewCard) {
    open(cardFileText({{0, "n1"}, {0, "n2"}, {2, "dog"}}));
    ASSERT_EQ(answerPane(), "no cards.");
    press(ids::getNewCardItem);
    EXPECT_EQ(dialog.clicks, 1);
    EXPECT_TRUE(dialog.checked(ids::box1Radio));
    EXPECT_EQ(question(), "n1?");
    EXPECT_EQ(count(1), "1");
    EXPECT_EQ(view.deck()->count(0), 1);
    EXPECT_EQ(cardButtons(), (std::vector<bool>{false, true, true, true}));
}

TEST_F(LearningTest, GetNewCardSelectsBox1AndQueuesTheCardAtItsBack) {
    dialog.click(ids::box3Radio);
    press(ids::getNewCardItem);
    EXPECT_TRUE(dialog.checked(ids::box1Radio));
    EXPECT_FALSE(dialog.checked(ids::box3Radio));
    EXPECT_EQ(question(), "one?");
    EXPECT_EQ(questionsIn(1), (std::vector<std::string>{"one?", "two?", "new?"}));
    EXPECT_EQ(count(1), "3");

    // Box 0 is empty now.
    const FakeDialog before = dialog;
    boxes.clear();
    press(ids::getNewCardItem);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Es kann keine neue Karte gefunden werden.");
    EXPECT_EQ(boxes.last().caption, "Info");
    EXPECT_EQ(boxes.last().owner, FakeDialog::handle);
    EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_OK));
    EXPECT_EQ(strings.loads.back(), (std::pair<unsigned, std::size_t>{ids::noNewCardString, 260}));
    EXPECT_TRUE(dialog.looksLike(before));
}

TEST_F(LearningTest, ShowTogglesAndShowingACardPutsTheInfoBack) {
    press(ids::showButton);
    EXPECT_EQ(answerPane(), "one!");
    EXPECT_EQ(dialog.text(ids::showButton), "&Info");
    press(ids::showButton);
    EXPECT_EQ(answerPane(), "one.");
    EXPECT_EQ(dialog.text(ids::showButton), "&Show");
    press(ids::showButton);
    press(ids::nextButton);
    EXPECT_EQ(answerPane(), "two.");
    EXPECT_EQ(dialog.text(ids::showButton), "&Show");
}

TEST_F(LearningTest, NextAndPreviousCycleABox) {
    press(ids::nextButton);
    EXPECT_EQ(question(), "two?");
    EXPECT_EQ(view.deck()->box(1).front()->getMark(), "+");
    press(ids::previousItem);
    EXPECT_EQ(question(), "one?");

    // One card: both show it again and leave it untouched.
    dialog.click(ids::box2Radio);
    press(ids::nextButton);
    press(ids::previousItem);
    EXPECT_EQ(question(), "dog?");
    EXPECT_TRUE(view.deck()->box(2).front()->keepsFirstTexts());

    // No card: Previous shows so, offers Get New Card, and leaves the buttons.
    press(ids::getNewCardItem);  // empties box 0
    press(ids::box6Item);        // grays Get New Card
    press(ids::box0Item);
    EXPECT_EQ(cardButtons(), allOff);
    ASSERT_FALSE(dialog.itemEnabled(ids::getNewCardItem));
    press(ids::previousItem);
    EXPECT_EQ(answerPane(), "no cards.");
    EXPECT_TRUE(dialog.itemEnabled(ids::getNewCardItem));
    EXPECT_EQ(cardButtons(), allOff);
}

TEST_F(LearningTest, MovingTheLastCardOutEmptiesTheBox) {
    press(ids::box6Item);  // grays Get New Card
    dialog.click(ids::box2Radio);
    ASSERT_EQ(cardButtons(), (std::vector<bool>{true, true, true, true}));
    press(ids::moveButton);
    EXPECT_EQ(answerPane(), "no cards.");
    EXPECT_EQ(cardButtons(), allOff);
    EXPECT_FALSE(dialog.itemEnabled(ids::previousItem));
    EXPECT_TRUE(dialog.itemEnabled(ids::getNewCardItem));
    EXPECT_EQ(count(2), "0");
    EXPECT_EQ(count(3), "3");
    EXPECT_EQ(view.activeCard()->isInit(), 0);
    EXPECT_EQ(press(ids::moveButton), CommandOutcome::Dropped);
}

TEST_F(LearningTest, MenuBoxesReplaceTheRadioSelection) {
    dialog.focus = ids::nextButton;
    press(ids::box0Item);
    EXPECT_EQ(question(), "new?");
    EXPECT_TRUE(dialog.itemChecked(ids::box0Item));
    EXPECT_EQ(dialog.focus, ids::questionPane);
    for (int radio = ids::box1Radio; radio <= ids::box5Radio; ++radio) {
        EXPECT_FALSE(dialog.checked(radio));
    }
    EXPECT_EQ(cardButtons(), (std::vector<bool>{false, true, true, true}));
    EXPECT_FALSE(dialog.itemEnabled(ids::getNewCardItem));

    press(ids::box6Item);
    EXPECT_FALSE(dialog.itemChecked(ids::box0Item));
    EXPECT_TRUE(dialog.itemChecked(ids::box6Item));
    EXPECT_EQ(question(), "top?");
    EXPECT_EQ(cardButtons(), (std::vector<bool>{true, false, true, true}));

    // Leaving edit mode enables Move even here, but there is no box above 6.
    press(ids::editItem);
    press(ids::editItem);
    ASSERT_TRUE(dialog.enabled(ids::moveButton));
    press(ids::moveButton);
    EXPECT_EQ(view.deck()->count(6), 1);
    EXPECT_EQ(question(), "top?");

    dialog.click(ids::box2Radio);
    EXPECT_FALSE(dialog.itemChecked(ids::box6Item));
    EXPECT_EQ(getSelectedBox(dialog), 2);
}

TEST_F(LearningTest, BackSendsTheCardToTheEndOfBox1) {
    dialog.click(ids::box2Radio);
    press(ids::backButton);
    EXPECT_EQ(questionsIn(1), (std::vector<std::string>{"one?", "two?", "dog?"}));
    EXPECT_EQ(count(1), "3");
    EXPECT_EQ(count(2), "0");
    EXPECT_EQ(answerPane(), "no cards.");

    dialog.click(ids::box1Radio);
    EXPECT_EQ(press(ids::backButton), CommandOutcome::Dropped);
    press(ids::editItem);
    press(ids::editItem);
    press(ids::backButton);  // Back in box 1 itself: front card to its back
    EXPECT_EQ(questionsIn(1), (std::vector<std::string>{"two?", "dog?", "one?"}));
    EXPECT_EQ(question(), "two?");
}
