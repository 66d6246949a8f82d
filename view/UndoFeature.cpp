#include "view/UndoFeature.h"

#include "view/CardView.h"
#include "view/ControlIds.h"

void UndoFeature::commandEnded(DialogPort& dialog, CommandEnd& end) {
    if (end.changedDeck) {
        UndoStep step;
        step.changes = end.takeChanges();
        step.editedCard = end.editedCard;
        step.textsBefore = std::move(end.textsBefore);
        step.textsAfter = std::move(end.textsAfter);
        step.before = std::move(end.before);
        step.after = end.after;
        history_.record(std::move(step));
    } else if (!end.settled) {
        history_.recordNavigation(end.takeChanges());
    }
    showState(dialog);
}

void UndoFeature::deckReplaced(DialogPort& dialog, CardBoxes&) {
    history_.clear();
    showState(dialog);
}

void UndoFeature::showState(DialogPort& dialog) const {
    dialog.enableMenuItem(ids::undoItem, history_.canUndo());
    dialog.enableMenuItem(ids::redoItem, history_.canRedo());
}

bool paneTakesUndo(DialogPort& dialog, const CardView& view) {
    // Edit mode stands only with a deck, and panes hold typing only then.
    if (!isEditMode(dialog)) {
        return false;
    }
    const int pane = dialog.focusedControl();
    if (pane != ids::questionPane && pane != ids::answerPane) {
        return false;
    }
    if (!dialog.isModified(pane)) {
        return false;
    }
    return dialog.controlText(pane) != faceText(*view.currentCard, view.faceIn(pane));
}

ShownCards shownNow(DialogPort& dialog, const CardRef& active, const CardView& view) {
    return ShownCards{getSelectedBox(dialog), active, view.currentCard};
}

bool showRestored(DialogPort& dialog, const ShownCards& shown, CardRef& active, CardView& view,
                  MessageBoxes& boxes) {
    active = shown.active;
    view.currentCard = shown.shown;
    const bool found = active->isInit();
    if (shown.box >= 0) {
        markSelectedBox(dialog, ids::box0Item + shown.box);
        enableButtonsForBox(dialog, shown.box, found);
    }
    if (!found) {
        disableCardButtons(dialog);
        showNoCards(dialog);
        // Edit mode never stands without a card to write on; it ends here as it
        // does when Delete empties the box, rather than inserting a card.
        if (isEditMode(dialog)) {
            toggleEditMode(dialog, boxes);
        }
    }
    return found;
}
