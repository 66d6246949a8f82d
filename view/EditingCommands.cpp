#include "view/EditingCommands.h"

#include <memory>
#include <optional>

#include "model/SameCard.h"
#include "platform/WinConstants.h"
#include "view/ConflictedCopiesOffer.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

namespace {
// Where the same card as `shown`, read anew, lies behind the front of `cards`:
// a card is known by its texts, and the front one is shown already.
std::optional<std::size_t> placeOfSameCard(const CardBoxes::Box& cards, const Card& shown) {
    for (std::size_t index = 1; index < cards.size(); ++index) {
        if (isSameCard(*cards[index], shown)) {
            return index;
        }
    }
    return std::nullopt;
}
}  // namespace

void insertWhenEditingWithoutCard(DialogPort& dialog, CardBoxes& deck, CardRef& active,
                                  const CardView& view, const std::function<void()>& insert) {
    if (isEditMode(dialog) && !active->isInit()) {
        insert();
        // The card on screen is the one every later command must act on. The card
        // that stood for "nothing to show" goes back to being an ordinary card.
        deck.setInit(active, true);
        active = view.currentCard;
        enableCardButtons(dialog);
    }
}

void MQMainView::onEdit(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    toggleEditMode(dialog, platform_.messageBoxes);
    if (activeCard_->isInit()) {
        enableCardButtons(dialog);
        enableBackButton(dialog);
    } else {
        disableCardButtons(dialog);
        showNoCards(dialog);
    }
    // Editing with nothing shown starts with a fresh card in the selected box.
    insertWhenEditingWithoutCard(dialog, *deck_, activeCard_, view_, [&] { onInsert(dialog); });
}

void MQMainView::onInsert(DialogPort& dialog) {
    if (deck_ == nullptr || !isEditMode(dialog)) {
        return;
    }
    commitCardEdits(view_, dialog);

    auto card = std::make_shared<Card>(1);
    card->takeNew();
    const int box = getSelectedBox(dialog);
    card->setSection(box);
    deck_->insertFirst(card, box);

    // The panes start empty for typing, while the card itself carries placeholders
    // for whatever the user leaves untouched.
    bringToFront(dialog, card);
    refreshCounts(dialog);
    card->setQuestion("empty question");
    card->setInfo("empty info");
    card->setAnswer("empty answer");
}

void MQMainView::onDelete(DialogPort& dialog) {
    if (deck_ == nullptr || !isEditMode(dialog)) {
        return;
    }
    deck_->removeFirst(getSelectedBox(dialog));
    onNext(dialog);
    refreshCounts(dialog);
    if (!activeCard_->isInit()) {
        toggleEditMode(dialog, platform_.messageBoxes);
        disableCardButtons(dialog);
    }
}

void MQMainView::onNew(DialogPort& dialog) {
    if (!saving_.askBeforeReplacing(dialog)) {
        return;
    }
    if (isEditMode(dialog)) {
        toggleEditMode(dialog, platform_.messageBoxes);
    }
    if (!cardFile_.newCardFile(dialog)) {
        return;
    }
    takeDeck(dialog);
    clearCardPanes(dialog);
    showNoCards(dialog);
    disableCardButtons(dialog);
    enableFileCommands(dialog);
    refreshCounts(dialog);
    recentFiles_.remember(dialog, cardFile_.fileName());
}

void MQMainView::takeDeck(DialogPort& dialog) {
    deck_ = cardFile_.deckSlot().get();
    activeCard_ = std::make_shared<Card>();
    view_.currentCard = activeCard_;
    command_.startDeck(*deck_, platform_.clock.today());
    features_.deckReplaced(dialog, *deck_);
}

void MQMainView::onOpen(DialogPort& dialog) {
    if (!saving_.askBeforeReplacing(dialog)) {
        return;
    }
    // A cancelled or failed Open leaves the deck and the whole dialog as they were.
    if (!cardFile_.openCardFile(dialog)) {
        return;
    }
    takeOpenedDeck(dialog, 1, nullptr);
    offerConflictedCopies(cardFile_, platform_, dialog, recovery_,
                          [this, &dialog] { takeOpenedDeck(dialog, 1, nullptr); });
}

bool MQMainView::openGivenDeck(DialogPort& dialog) {
    if (!givenDeck_) {
        return false;
    }
    if (waitingForUser()) {
        return true;
    }
    const std::string path = std::move(*givenDeck_);
    givenDeck_.reset();
    const Command command(*this, dialog);
    openNamedDeck(dialog, path);
    return false;
}

void MQMainView::onRecentFile(DialogPort& dialog, int commandId) {
    if (commandId < ids::recentFile1) {
        return;
    }
    // A copy: the list changes as the file opens or fails to.
    if (const auto path =
            recentFiles_.path(static_cast<std::size_t>(commandId - ids::recentFile1))) {
        openNamedDeck(dialog, *path);
    }
}

void MQMainView::openNamedDeck(DialogPort& dialog, const std::string& path) {
    if (!saving_.askBeforeReplacing(dialog)) {
        return;
    }
    if (!cardFile_.openCardFileAt(dialog, path)) {
        recentFiles_.forget(dialog, path);
        return;
    }
    takeOpenedDeck(dialog, 1, nullptr);
    offerConflictedCopies(cardFile_, platform_, dialog, recovery_,
                          [this, &dialog] { takeOpenedDeck(dialog, 1, nullptr); });
}

void MQMainView::takeOpenedDeck(DialogPort& dialog, int box, const CardRef& shown) {
    takeDeck(dialog);
    // Not before: the old deck is gone by now, and a box about the list may show.
    recentFiles_.remember(dialog, cardFile_.fileName());
    if (isEditMode(dialog)) {
        toggleEditMode(dialog, platform_.messageBoxes);
    }
    enableFileCommands(dialog);
    enableGetNewCard(dialog);
    // A new deck starts at box 1, whatever box was chosen in the old one.
    uncheckMenuBoxes(dialog);
    selectBoxRadio(dialog, ids::box1Radio);

    const bool readCards = deck_->hasCards() == 1;
    if (readCards && deck_->selectBox(1, activeCard_)) {
        view_.currentCard = activeCard_;
        initCardView(view_, dialog);
        features_.cardShown(dialog, view_);
        enableCardButtons(dialog);
        disableBackButton(dialog);
        refreshCounts(dialog);
    } else {
        clearCardPanes(dialog);
        showNoCards(dialog);
        disableCardButtons(dialog);
        if (readCards) {
            refreshCounts(dialog);
        }
    }

    // Where the user was in the deck this one replaces.
    if (box < 0 || box >= CardBoxes::boxCount) {
        return;
    }
    if (box != 1) {
        onSelectBox(dialog, ids::box0Item + box);
    }
    if (!shown || !activeCard_->isInit()) {
        return;
    }
    if (const std::optional<std::size_t> index = placeOfSameCard(deck_->box(box), *shown)) {
        deck_->turnTo(box, *index, activeCard_);
        bringToFront(dialog, activeCard_);
    }
}

void MQMainView::onSave(DialogPort& dialog) { saving_.askToSave(dialog); }

bool MQMainView::onClose(DialogPort& dialog) {
    const Command command(*this, dialog);
    if (waitingForUser() || !saving_.askToSave(dialog)) {
        return false;
    }
    recovery_.end();
    return true;
}

void MQMainView::onSaveAs(DialogPort& dialog) {
    if (!cardFile_.hasFile()) {
        return;
    }
    keepTypedText(view_, dialog);
    if (cardFile_.saveCardFileAs(dialog)) {
        features_.deckSaved(dialog);
        recentFiles_.remember(dialog, cardFile_.fileName());
    }
}

void MQMainView::onInfo(DialogPort& dialog) {
    platform_.messageBoxes.show(dialog.window(), infoText_, infoCaption_.c_str(), MB_OK);
}
