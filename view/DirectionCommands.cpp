#include "platform/MQMessage.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

void MQMainView::onDirection(DialogPort& dialog, int commandId) {
    keepTypedText(view_, dialog);
    ErrorCode error = 0;
    if (!direction_.choose(DrillDirection::fromMenuItem(commandId), error)) {
        showError(platform_.messageBoxes, "The direction can't be kept",
                  static_cast<std::int32_t>(error));
    }
    dialog.checkMenuRadioItem(ids::questionFirstItem, ids::bothWaysItem, commandId);
    // The card shown turns round at once, its answer hidden again.
    direction_.redraw();
    if (deck_ != nullptr && view_.currentCard->isInit()) {
        bringToFront(dialog, view_.currentCard);
    }
}

void MQMainView::onProgress(DialogPort& dialog) {
    if (deck_ != nullptr) {
        progress_.show(dialog, *deck_, cardFile_);
    }
}
