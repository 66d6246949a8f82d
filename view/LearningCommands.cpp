#include "platform/WinConstants.h"
#include "view/ControlIds.h"
#include "view/EditingCommands.h"
#include "view/MQMainView.h"

namespace {
constexpr std::size_t noNewCardCapacity = 260;

// The selected box has just run out of cards.
void showBoxEmptied(DialogPort& dialog, CardBoxes& deck, const CardRef& active) {
    deck.setInit(active, false);
    disableCardButtons(dialog);
    enableGetNewCard(dialog);
    showNoCards(dialog);
}

// Move and Back: the selected box's front card leaves it through `move`; true
// when `active` is then the card to come to the front.
bool moveFrontCard(DialogPort& dialog, CardBoxes& deck, CardRef& active,
                   bool (CardBoxes::*move)(int, CardRef&)) {
    if ((deck.*move)(getSelectedBox(dialog), active)) {
        return true;
    }
    showBoxEmptied(dialog, deck, active);
    return false;
}
}  // namespace

void MQMainView::onShow(DialogPort& dialog) {
    // The card shown, not the active one: after Insert only the shown card is new.
    if (!view_.currentCard->isInit()) {
        return;
    }
    keepTypedText(view_, dialog);
    const bool wasShown = view_.answerShown;
    toggleAnswerInfo(view_, dialog);
    if (!wasShown) {
        features_.answerRevealed(dialog, view_);
    }
}

void MQMainView::onNext(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    keepTypedText(view_, dialog);
    if (deck_->nextCard(getSelectedBox(dialog), activeCard_)) {
        bringToFront(dialog, activeCard_);
        return;
    }
    showBoxEmptied(dialog, *deck_, activeCard_);
}

void MQMainView::onPrevious(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    keepTypedText(view_, dialog);
    deck_->previousCard(getSelectedBox(dialog), activeCard_);
    if (activeCard_->isInit()) {
        bringToFront(dialog, activeCard_);
        return;
    }
    enableGetNewCard(dialog);
    showNoCards(dialog);
}

void MQMainView::onMove(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    // Leaving edit mode enables Move in every box, the last one included.
    if (getSelectedBox(dialog) == CardBoxes::lastBox) {
        return;
    }
    if (moveFrontCard(dialog, *deck_, activeCard_, &CardBoxes::moveUp)) {
        bringToFront(dialog, activeCard_);
    }
    refreshCounts(dialog);
}

void MQMainView::onBack(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    if (moveFrontCard(dialog, *deck_, activeCard_, &CardBoxes::moveBack)) {
        bringToFront(dialog, activeCard_);
    }
    refreshCounts(dialog);
}

void MQMainView::onGetNewCard(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    // The drawn card takes over from the active one, which may still carry the
    // "nothing to show" flag of a box that ran empty; left so, it would later
    // show "no cards." in a box that holds it (and, editing, get a card inserted).
    const CardRef previous = activeCard_;
    if (!deck_->takeNewCard(activeCard_)) {
        const std::string text = platform_.strings.load(ids::noNewCardString, noNewCardCapacity);
        platform_.messageBoxes.show(dialog.window(), text, "Info", MB_OK);
        return;
    }
    deck_->setInit(previous, true);
    // The click comes back as command 1006 before clickBox1 returns, so box 1 is
    // selected, through the gate, exactly as if the user had clicked it.
    clickBox1(dialog);
    bringToFront(dialog, activeCard_);
    refreshCounts(dialog);
    enableCardButtons(dialog);
}

void MQMainView::onSelectBox(DialogPort& dialog, int commandId) {
    if (deck_ == nullptr || commandId < ids::box0Item || commandId > ids::box6Item) {
        return;
    }
    const int box = commandId - ids::box0Item;
    markSelectedBox(dialog, commandId);
    enableButtonsForBox(dialog, box, deck_->selectBox(box, activeCard_));

    if (activeCard_->isInit()) {
        bringToFront(dialog, activeCard_);
    } else {
        disableCardButtons(dialog);
        showNoCards(dialog);
    }

    // An empty box in edit mode gets a card to write on at once.
    insertWhenEditingWithoutCard(dialog, *deck_, activeCard_, view_, [&] { onInsert(dialog); });
}
