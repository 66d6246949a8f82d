#include "ViewFixture.h"
#include "platform/WinConstants.h"

namespace {
const std::string goodDeck = cardFileText(
    {{0, "new"}, {1, "one"}, {1, "two"}, {2, "dog"}, {3, "cat"}, {3, "cow"}, {6, "top"}});
const std::string noBox1Deck = cardFileText({{0, "new"}, {2, "dog"}, {4, "owl"}});
}  // namespace

TEST_F(ViewTest, OpeningAFileShowsTheFrontCardOfBox1) {
    open(goodDeck);
    EXPECT_EQ(dialog.title, "Mnemoquill: deck");
    EXPECT_EQ(fileDialogs.openOwners, std::vector<WindowRef>{FakeDialog::handle});
    EXPECT_EQ(question(), "one?");
    EXPECT_EQ(answerPane(), "one.");
    EXPECT_EQ(cardButtons(), (std::vector<bool>{false, true, true, true}));
    EXPECT_TRUE(dialog.popup(ids::editPopupPosition));
    EXPECT_TRUE(dialog.popup(ids::navigatePopupPosition));
    EXPECT_TRUE(dialog.itemEnabled(ids::getNewCardItem));
    EXPECT_TRUE(dialog.itemEnabled(ids::previousItem));
    EXPECT_FALSE(dialog.itemEnabled(ids::insertItem));
    EXPECT_FALSE(dialog.itemEnabled(ids::deleteItem));
    for (int radio = ids::box1Radio; radio <= ids::box5Radio; ++radio) {
        EXPECT_TRUE(dialog.enabled(radio));
    }
    EXPECT_EQ((std::vector<std::string>{count(1), count(2), count(3), count(4), count(5)}),
              (std::vector<std::string>{"2", "1", "2", "0", "0"}));
    EXPECT_EQ(view.activeCard(), view.view().currentCard);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(ViewTest, OpeningAFileSelectsBox1AloneWhateverBoxWasChosen) {
    for (const int chosen : {ids::box3Radio, ids::box0Item, ids::box6Item}) {
        SCOPED_TRACE(chosen);
        open(goodDeck);
        press(chosen);
        open(noBox1Deck, "C:\\cards\\other.txt");
        EXPECT_EQ(getSelectedBox(dialog), 1);
        for (int id : {ids::box2Radio, ids::box3Radio, ids::box4Radio, ids::box5Radio}) {
            EXPECT_FALSE(dialog.checked(id));
        }
        EXPECT_FALSE(dialog.itemChecked(ids::box0Item));
        EXPECT_FALSE(dialog.itemChecked(ids::box6Item));
        EXPECT_EQ(answerPane(), "no cards.");
        EXPECT_EQ(cardButtons(), allOff);
        EXPECT_EQ(count(2), "1");
        EXPECT_EQ(count(4), "1");
        EXPECT_EQ(view.activeCard()->isInit(), 0);
    }
}

TEST_F(ViewTest, FailedOpenWithoutAFileLeavesTheFreshDialog) {
    const FakeDialog fresh = dialog;
    open("");  // empty file
    files.files.erase(deckPath);
    boxes.answer(IDCANCEL);
    fileDialogs.openWillChoose(deckPath);  // missing file, Cancel
    press(ids::openItem);
    boxes.answer(IDOK);
    fileDialogs.openWillChoose(deckPath);  // missing file, OK and on
    press(ids::openItem);
    fileDialogs.openWillCancel();
    press(ids::openItem);

    EXPECT_TRUE(dialog.looksLike(fresh));
    EXPECT_EQ(view.deck(), nullptr);
    EXPECT_FALSE(view.cardFile().hasFile());
    EXPECT_GE(boxes.count(), 4u);
}

TEST_F(ViewTest, AbortedFailedOrCancelledOpenLeavesEverythingAsItWas) {
    open(goodDeck);
    const CardBoxes* deck = view.deck();
    press(ids::box3Radio);
    press(ids::showButton);
    press(ids::editItem);
    press(ids::box6Item);  // Box 6 checked in the menu, edit mode on
    const FakeDialog before = dialog;
    const CardRef active = view.activeCard();

    boxes.answer(IDNO);  // "Overwrite?" for a text without cards: No
    open("no cards here\r\n", "C:\\cards\\junk.txt");
    boxes.answer(IDCANCEL);  // a missing file: Cancel
    fileDialogs.openWillChoose("C:\\cards\\missing.txt");
    press(ids::openItem);
    fileDialogs.openWillCancel();
    press(ids::openItem);

    EXPECT_TRUE(dialog.looksLike(before));
    EXPECT_EQ(view.deck(), deck);
    EXPECT_EQ(view.activeCard(), active);
}

TEST_F(ViewTest, NewStartsAnEmptyDeckAndCancelChangesNothing) {
    const FakeDialog fresh = dialog;
    fileDialogs.saveWillCancel();
    press(ids::newItem);
    EXPECT_TRUE(dialog.looksLike(fresh));

    fileDialogs.saveWillChoose("C:\\cards\\latin.mqf");
    press(ids::newItem);
    EXPECT_EQ(dialog.title, "Mnemoquill: latin");
    EXPECT_EQ(answerPane(), "no cards.");
    EXPECT_EQ(cardButtons(), allOff);
    EXPECT_TRUE(dialog.popup(ids::editPopupPosition));
    EXPECT_TRUE(dialog.enabled(ids::box3Radio));
    for (int box = 1; box <= 5; ++box) EXPECT_EQ(count(box), "0");
    EXPECT_FALSE(files.exists("C:\\cards\\latin.mqf"));
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(ViewTest, OpenAndNewOfferToSaveADeckHoldingCards) {
    fileDialogs.saveWillChoose("C:\\cards\\latin.mqf");
    press(ids::newItem);
    fileDialogs.openWillCancel();
    press(ids::openItem);  // an empty deck is not worth a question
    EXPECT_EQ(boxes.count(), 0u);

    press(ids::editItem);  // switching edit mode on in an empty box inserts a card
    press(ids::editItem);
    boxes.clear();
    boxes.answer(IDNO);
    open(goodDeck);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Save CardFile?");
    EXPECT_EQ(boxes.last().caption, "Save ?");
    EXPECT_EQ(boxes.last().owner, FakeDialog::handle);
    EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_FALSE(files.exists("C:\\cards\\latin.mqf"));

    press(ids::nextButton);
    boxes.answer(IDYES);
    fileDialogs.saveWillChoose("C:\\cards\\next.mqf");
    press(ids::newItem);
    const std::string& saved = files.files[deckPath];
    EXPECT_LT(saved.find("two?"), saved.find("one?"));
    EXPECT_EQ(dialog.title, "Mnemoquill: next");
}

TEST_F(ViewTest, SaveWritesOnlyOnYesWithTheEditsTyped) {
    open(goodDeck);
    press(ids::editItem);
    ASSERT_TRUE(dialog.type(ids::questionPane, "uno?"));
    boxes.clear();

    boxes.answer(IDNO);
    press(ids::saveItem);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Save CardFile ?");
    EXPECT_EQ(boxes.last().caption, "Save ?");
    EXPECT_EQ(boxes.last().owner, noWindow);
    EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(files.files[deckPath], goodDeck);

    boxes.answer(IDYES);
    press(ids::saveItem);
    EXPECT_NE(files.files[deckPath].find("<Q>uno?</Q>"), std::string::npos);
    EXPECT_EQ(files.files[deckPath].find("<Q>one?</Q>"), std::string::npos);
}

TEST_F(ViewTest, RecentFilesListWhatWasOpenedMadeOrSavedUnderAName) {
    EXPECT_TRUE(dialog.recentFiles.empty());
    open(goodDeck);
    fileDialogs.saveWillChoose("C:\\cards\\copy.mqf");
    press(ids::saveAsItem);
    boxes.answer(IDNO);
    fileDialogs.saveWillChoose("C:\\other\\deck.mqf");
    press(ids::newItem);
    const std::vector<std::string> labels{"&1 C:\\other\\deck.mqf", "&2 copy.mqf",
                                          "&3 C:\\cards\\deck.mqf"};
    EXPECT_EQ(dialog.recentFiles, labels);

    FakeDialog next;  // the next run starts with them
    MQMainView(platform, recentStore).onInitDialog(next);
    EXPECT_EQ(next.recentFiles, labels);
}

TEST_F(ViewTest, GivenAndRecentDecksOpenAsOpenDoesAfterItsQuestion) {
    open(goodDeck, "C:\\cards\\gone.mqf");
    open(goodDeck);
    files.files.erase("C:\\cards\\gone.mqf");
    files.files["C:\\cards\\latin.mqf"] = noBox1Deck;
    boxes.clear();

    boxes.answer(IDNO);
    view.giveDeck("C:\\cards\\gone.mqf");
    view.giveDeck("C:\\cards\\latin.mqf");  // the later one wins
    EXPECT_FALSE(view.openGivenDeck(dialog));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Save CardFile?");
    EXPECT_EQ(dialog.title, "Mnemoquill: latin");
    EXPECT_EQ(answerPane(), "no cards.");
    EXPECT_EQ(files.files["mq_tmp.txt"], noBox1Deck);

    press(ids::recentFile1 + 1);  // deck.mqf
    EXPECT_EQ(dialog.title, "Mnemoquill: deck");
    EXPECT_EQ(question(), "one?");

    // One that no longer opens gives Open's box and leaves the list.
    boxes.answer(IDNO);
    boxes.answer(IDCANCEL);
    press(ids::recentFile1 + 2);
    EXPECT_EQ(boxes.last().caption, "Sorry.");
    EXPECT_EQ(dialog.recentFiles, (std::vector<std::string>{"&1 deck.mqf", "&2 latin.mqf"}));
    EXPECT_EQ(dialog.title, "Mnemoquill: deck");

    // While a box is up the deck waits to be asked for again.
    view.giveDeck("C:\\cards\\latin.mqf");
    boxes.whileShown = [this](const std::string&) { EXPECT_TRUE(view.openGivenDeck(dialog)); };
    press(ids::infoItem);
    EXPECT_EQ(dialog.title, "Mnemoquill: deck");
    boxes.whileShown = nullptr;
    boxes.answer(IDNO);
    EXPECT_FALSE(view.openGivenDeck(dialog));
    EXPECT_EQ(dialog.title, "Mnemoquill: latin");
}

TEST_F(ViewTest, ARecentListThatCannotBeKeptIsSaidOnceARun) {
    recentStore.failWith = 5;
    open(goodDeck);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "The recent card files can't be kept, err#: 5");
    boxes.answer(IDNO);  // the save question
    open(noBox1Deck, "C:\\cards\\other.txt");
    EXPECT_EQ(boxes.count(), 2u);
    EXPECT_EQ(dialog.recentFiles.size(), 2u);
}
