#include "platform/MQMessage.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

void MQMainView::onDirection(DialogPort& dialog, int commandId) {
    keepTypedText(dialog);
    ErrorCode error = 0;
    if (!direction_.choose(DrillDirection::fromMenuItem(commandId), error)) {
        showError(platform_.messageBoxes, "The direction can't be kept",
                  static_cast<std::int32_t>(error));
    }
    dialog.checkMenuRadioItem(ids::questionFirstItem, ids::bothWaysItem, commandId);
    // The card shown turns round at once, its answer hidden again.
    directionDrawnFor_.reset();
    if (deck_ != nullptr && view_.currentCard->isInit() == 1) {
        showCurrentCard(dialog);
    }
}
