#include <regex>

#include "ViewFixture.h"
#include "platform/WinConstants.h"

TEST_F(ViewTest, FreshDialogOffersOnlyFileAndHelp) {
    EXPECT_EQ(question(), "");
    EXPECT_EQ(answerPane(), "");
    EXPECT_EQ(dialog.text(ids::showButton), "&Show");
    EXPECT_EQ(cardButtons(), allOff);
    for (int box = 1; box <= 5; ++box) {
        const int radio = ids::box1Radio + box - 1;
        EXPECT_FALSE(dialog.enabled(radio)) << box;
        EXPECT_EQ(dialog.checked(radio), box == 1) << box;
        EXPECT_EQ(count(box), "") << box;
        EXPECT_FALSE(dialog.enabled(ids::box1Count + box - 1)) << box;
    }
    EXPECT_TRUE(dialog.control(ids::questionPane).readOnly);
    EXPECT_TRUE(dialog.control(ids::answerPane).readOnly);

    EXPECT_TRUE(dialog.popup(0));
    EXPECT_FALSE(dialog.popup(ids::editPopupPosition));
    EXPECT_FALSE(dialog.popup(ids::navigatePopupPosition));
    EXPECT_TRUE(dialog.popup(3));
    for (int item : {ids::getNewCardItem, ids::insertItem, ids::deleteItem, ids::previousItem}) {
        EXPECT_FALSE(dialog.itemEnabled(item)) << item;
    }
    // Box 0 and Box 6 stay enabled so their accelerators still reach the handlers.
    for (int item : {ids::newItem, ids::openItem, ids::saveItem, ids::editItem, ids::box0Item,
                     ids::box6Item, ids::helpItem, ids::infoItem}) {
        EXPECT_TRUE(dialog.itemEnabled(item)) << item;
    }
    // Only the direction kept for the user is checked: Question First on a new machine.
    for (const auto& item : dialog.menu) {
        EXPECT_EQ(item.second.checked, item.first == ids::questionFirstItem) << item.first;
    }
    EXPECT_GT(dialog.menuBarDraws, 0);
    EXPECT_EQ(dialog.title, "Mnemoquill");
}

TEST_F(ViewTest, InfoBoxShowsStringTableBuildAndLabel) {
    EXPECT_EQ(press(ids::infoItem), CommandOutcome::Handled);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().owner, FakeDialog::handle);
    EXPECT_EQ(boxes.last().caption, "Mnemoquill Info; 0.0.5.4 BETA");
    EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_OK));
    const std::regex layout(
        "Mnemoquill\nFuer weitere Hilfe lesen sie Liesmich\\.\nBuilt :[A-Z][a-z]{2} [ 1-3][0-9] "
        "[0-9]{4}::[0-9]{2}:[0-9]{2}:[0-9]{2}\nLabel:  V_0_0_5_4_BBETA");
    EXPECT_TRUE(std::regex_match(boxes.last().text, layout)) << boxes.last().text;
}

TEST_F(ViewTest, LongInfoStringIsCutTo259Characters) {
    FakeStrings longTable;
    std::string text;
    for (int i = 0; i < 300; ++i) text += static_cast<char>('a' + i % 26);
    longTable.table[ids::infoTextString] = text;
    Platform other{boxes, files,    fileDialogs, longTable, caseFolding,
                   clock, settings, random,      recovery};
    MQMainView controller(other, recentStore);

    ASSERT_EQ(longTable.loads.size(), 1u);
    EXPECT_EQ(longTable.loads[0].second, 260u);
    controller.onInfo(dialog);
    EXPECT_EQ(boxes.last().text.substr(0, 259), text.substr(0, 259));
    EXPECT_EQ(boxes.last().text.substr(259, 8), "\nBuilt :");
}

TEST_F(ViewTest, CommandsNeedingADeckChangeNothingWithoutOne) {
    const FakeDialog before = dialog;
    // Ctrl+0 and Ctrl+6 get through: their menu items are never grayed.
    EXPECT_EQ(press(ids::box0Item), CommandOutcome::Handled);
    EXPECT_EQ(press(ids::box6Item), CommandOutcome::Handled);
    for (int id : {ids::getNewCardItem, ids::editItem, ids::insertItem, ids::deleteItem,
                   ids::previousItem, ids::saveItem}) {
        press(id);
    }
    EXPECT_TRUE(dialog.looksLike(before));
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(view.deck(), nullptr);
}

TEST_F(ViewTest, DispatchGatesDisabledControlsAndRoutesTheRest) {
    // Alt+S while Show is disabled, even with the notification code in the high word.
    EXPECT_FALSE(commandGate(dialog, ids::showButton));
    EXPECT_EQ(press(ids::showButton), CommandOutcome::Dropped);
    EXPECT_EQ(dispatchCommand(view, dialog, (1u << 16) | ids::nextButton), CommandOutcome::Dropped);
    // Menu-only ids name no control and always pass.
    EXPECT_TRUE(commandGate(dialog, ids::getNewCardItem));
    EXPECT_EQ(press(ids::unusedCtrlT), CommandOutcome::NotHandled);
    EXPECT_EQ(press(ids::helpItem), CommandOutcome::HelpContents);
    EXPECT_EQ(press(ids::separator), CommandOutcome::NotHandled);
}
