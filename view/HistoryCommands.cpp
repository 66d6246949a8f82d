#include <optional>

#include "view/ControlIds.h"
#include "view/MQMainView.h"

MQMainView::Command::Command(MQMainView& view, DialogPort& dialog, std::optional<DueWalk> walk)
    : view_(view), dialog_(dialog), walk_(walk) {
    view_.command_.begin(dialog_, view_.deck_, shownNow(dialog_, view_.activeCard_, view_.view_),
                         isEditMode(dialog_), view_.platform_.clock.today());
}

MQMainView::Command::~Command() {
    if (walk_) {
        view_.walkToDueCard(dialog_, *walk_);
    }
    view_.command_.end(dialog_, view_.deck_, view_.cardFile_,
                       shownNow(dialog_, view_.activeCard_, view_.view_));
}

void MQMainView::onUndoRedo(DialogPort& dialog, int commandId) {
    if (deck_ == nullptr) {
        return;
    }
    const bool undo = commandId == ids::undoItem;
    if (undo && paneTakesUndo(dialog, view_)) {
        dialog.undoTyping(dialog.focusedControl());
        return;
    }
    command_.settle();
    const std::optional<ShownCards> shown =
        undo ? undo_.undo(*deck_, shownNow(dialog, activeCard_, view_)) : undo_.redo(*deck_);
    if (shown) {
        if (showRestored(dialog, *shown, activeCard_, view_, platform_.messageBoxes)) {
            bringToFront(dialog, shown->shown);
        }
        refreshCounts(dialog);
    }
}
