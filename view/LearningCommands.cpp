#include "platform/WinConstants.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

namespace {
constexpr std::size_t noNewCardCapacity = 260;
}  // namespace

void MQMainView::onShow(DialogPort& dialog) {
    // The card shown, not the active one: after Insert only the shown card is new.
    if (view_.currentCard->isInit() == 0) {
        return;
    }
    keepTypedText(dialog);
    toggleAnswerInfo(view_, dialog);
}

void MQMainView::onNext(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    keepTypedText(dialog);
    if (deck_->nextCard(getSelectedBox(dialog), activeCard_)) {
        showActiveCard(dialog);
        return;
    }
    showBoxEmptied(dialog);
}

void MQMainView::onPrevious(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    keepTypedText(dialog);
    deck_->previousCard(getSelectedBox(dialog), activeCard_);
    if (activeCard_->isInit() == 1) {
        showActiveCard(dialog);
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
    moveFrontCard(dialog, &CardBoxes::moveUp);
}

void MQMainView::onBack(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    moveFrontCard(dialog, &CardBoxes::moveBack);
}

void MQMainView::moveFrontCard(DialogPort& dialog, bool (CardBoxes::*move)(int, CardRef&)) {
    if ((deck_->*move)(getSelectedBox(dialog), activeCard_)) {
        showActiveCard(dialog);
    } else {
        showBoxEmptied(dialog);
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
    deck_->setInit(previous, 1);
    // The click comes back as command 1006 before clickBox1 returns, so box 1 is
    // selected, through the gate, exactly as if the user had clicked it.
    clickBox1(dialog);
    showActiveCard(dialog);
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

    if (activeCard_->isInit() == 1) {
        showActiveCard(dialog);
    } else {
        disableCardButtons(dialog);
        showNoCards(dialog);
    }

    // An empty box in edit mode gets a card to write on at once.
    insertWhenEditingWithoutCard(dialog);
}

void MQMainView::markSelectedBox(DialogPort& dialog, int commandId) {
    uncheckMenuBoxes(dialog);
    selectBoxRadio(dialog, commandId);
    if (commandId == ids::box0Item) {
        checkMenuBox0(dialog);
    } else if (commandId == ids::box6Item) {
        checkMenuBox6(dialog);
    }
}

void MQMainView::enableButtonsForBox(DialogPort& dialog, int box, bool found) {
    const bool menuBox = box == 0 || box == CardBoxes::lastBox;
    if (found) {
        enableCardButtons(dialog);
        // Back has nowhere to send a card that is in box 1 or not yet drawn.
        if (box <= 1) {
            disableBackButton(dialog);
        } else {
            enableBackButton(dialog);
        }
        if (box == CardBoxes::lastBox) {
            disableMoveButton(dialog);
        }
        if (menuBox) {
            disableGetNewCard(dialog);
        }
    } else if (!menuBox) {
        enableGetNewCard(dialog);
    }
}

void MQMainView::showBoxEmptied(DialogPort& dialog) {
    deck_->setInit(activeCard_, 0);
    disableCardButtons(dialog);
    enableGetNewCard(dialog);
    showNoCards(dialog);
}

void MQMainView::insertWhenEditingWithoutCard(DialogPort& dialog) {
    if (isEditMode(dialog) == 1 && activeCard_->isInit() == 0) {
        onInsert(dialog);
        // The card on screen is the one every later command must act on. The card
        // that stood for "nothing to show" goes back to being an ordinary card.
        deck_->setInit(activeCard_, 1);
        activeCard_ = view_.currentCard;
        enableCardButtons(dialog);
    }
}
