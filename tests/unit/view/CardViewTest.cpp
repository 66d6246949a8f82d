#include <gtest/gtest.h>

#include <memory>

#include "fakes/FakeDialog.h"
#include "fakes/FakeMessageBoxes.h"
#include "view/CardView.h"
#include "view/ControlIds.h"

class CardViewTest : public ::testing::Test {
protected:
    CardViewTest() {
        // As read from a file: its texts stay the file's until one is set.
        view.currentCard = std::make_shared<Card>(nullptr, "+", 1, 1, "q", "a", "i");
        dialog.setReadOnly(ids::questionPane, false);
        dialog.setReadOnly(ids::answerPane, false);
        showCard(view, dialog);
    }
    FakeDialog dialog;
    CardView view;
};

TEST_F(CardViewTest, SelectedBoxAsksTheRadiosFirst) {
    EXPECT_EQ(getSelectedBox(dialog), -1);
    dialog.checkMenuItem(ids::box6Item, true);
    EXPECT_EQ(getSelectedBox(dialog), 6);
    dialog.checkMenuItem(ids::box0Item, true);
    EXPECT_EQ(getSelectedBox(dialog), 0);
    dialog.setCheck(ids::box3Radio, true);
    EXPECT_EQ(getSelectedBox(dialog), 3);
}

TEST_F(CardViewTest, CommitStoresOnlyRealChangesIntoThePaneShown) {
    commitCardEdits(view, dialog);
    dialog.type(ids::questionPane, "q");  // typed back as it was
    dialog.type(ids::answerPane, "i");
    commitCardEdits(view, dialog);
    EXPECT_TRUE(view.currentCard->keepsFirstTexts());

    dialog.type(ids::answerPane, "i2");
    commitCardEdits(view, dialog);
    EXPECT_EQ(view.currentCard->getInfo(), "i2");
    EXPECT_EQ(view.currentCard->getAnswer(), "a");
    EXPECT_EQ(view.currentCard->getQuestion(), "q");

    toggleAnswerInfo(view, dialog);
    dialog.type(ids::answerPane, "a2");
    commitCardEdits(view, dialog);
    EXPECT_EQ(view.currentCard->getAnswer(), "a2");
    EXPECT_EQ(view.currentCard->getInfo(), "i2");
}

TEST_F(CardViewTest, CardButtonsInEditModeLeaveMoveInsertDelete) {
    FakeMessageBoxes boxes;
    disableCardButtons(dialog);
    toggleEditMode(dialog, boxes);
    dialog.enableMenuItem(ids::insertItem, true);
    enableCardButtons(dialog);
    enableBackButton(dialog);
    EXPECT_FALSE(dialog.enabled(ids::moveButton));
    EXPECT_FALSE(dialog.enabled(ids::backButton));
    EXPECT_TRUE(dialog.enabled(ids::nextButton));
    EXPECT_TRUE(dialog.enabled(ids::showButton));
    EXPECT_TRUE(dialog.itemEnabled(ids::previousItem));
    EXPECT_TRUE(dialog.itemEnabled(ids::insertItem));
    EXPECT_TRUE(dialog.itemEnabled(ids::deleteItem));
}

TEST_F(CardViewTest, NoCardDisplayKeepsTheShowCaption) {
    toggleAnswerInfo(view, dialog);
    showNoCards(dialog);
    EXPECT_EQ(dialog.text(ids::showButton), "&Info");
    EXPECT_TRUE(view.answerShown);
    EXPECT_EQ(dialog.text(ids::answerPane), "no cards.");
}
