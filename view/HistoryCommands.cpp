#include "view/ControlIds.h"
#include "view/MQMainView.h"

namespace {
int commandIdOfBox(int box) { return ids::box0Item + box; }
}  // namespace

MQMainView::Command::Command(MQMainView& view, DialogPort& dialog) : view_(view), dialog_(dialog) {
    view_.command_.begin(dialog_, view_.deck_, view_.shownNow(dialog_), isEditMode(dialog_),
                         view_.platform_.clock.today());
}

MQMainView::Command::~Command() {
    view_.command_.end(dialog_, view_.deck_, view_.cardFile_, view_.shownNow(dialog_));
}

ShownCards MQMainView::shownNow(DialogPort& dialog) {
    return ShownCards{getSelectedBox(dialog), activeCard_, view_.currentCard};
}

void MQMainView::onUndo(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    if (paneTakesUndo(dialog, view_)) {
        dialog.undoTyping(dialog.focusedControl());
        return;
    }
    command_.settle();
    if (const auto shown = undo_.undo(*deck_, shownNow(dialog))) {
        showRestored(dialog, *shown);
    }
}

void MQMainView::onRedo(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    command_.settle();
    if (const auto shown = undo_.redo(*deck_)) {
        showRestored(dialog, *shown);
    }
}

void MQMainView::showRestored(DialogPort& dialog, const ShownCards& shown) {
    activeCard_ = shown.active;
    view_.currentCard = shown.shown;
    const bool found = activeCard_->isInit();
    if (shown.box >= 0) {
        markSelectedBox(dialog, commandIdOfBox(shown.box));
        enableButtonsForBox(dialog, shown.box, found);
    }
    if (found) {
        bringToFront(dialog, shown.shown);
    } else {
        disableCardButtons(dialog);
        showNoCards(dialog);
        // Edit mode never stands without a card to write on; it ends here as it
        // does when Delete empties the box, rather than inserting a card.
        if (isEditMode(dialog)) {
            toggleEditMode(dialog, platform_.messageBoxes);
        }
    }
    refreshCounts(dialog);
}
