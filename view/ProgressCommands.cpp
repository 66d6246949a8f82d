#include "chart/ProgressData.h"
#include "view/MQMainView.h"

void MQMainView::onProgress(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    dialog.showProgress(progressNow());
}

void MQMainView::refreshProgress(DialogPort& dialog) {
    // Charting a large deck costs a pass over it: only for a window that shows it.
    if (deck_ != nullptr && dialog.isProgressOpen()) {
        dialog.refreshProgress(progressNow());
    }
}

ProgressData MQMainView::progressNow() const {
    return progressData(*deck_, dueCards_.days(), platform_.clock.today(),
                        deckNameOf(cardFile_.fileName().value_or(std::string())));
}
