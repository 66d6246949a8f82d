#include "view/ProgressFeature.h"

void ProgressFeature::show(DialogPort& dialog, const CardBoxes& deck, const CardFile& file) {
    dialog.showProgress(progressNow(deck, file));
}

void ProgressFeature::commandEnded(DialogPort& dialog, CommandEnd& end) {
    // Charting a large deck costs a pass over it: only for a window that shows it.
    if (dialog.isProgressOpen()) {
        dialog.refreshProgress(progressNow(end.deck, end.file));
    }
}

ProgressData ProgressFeature::progressNow(const CardBoxes& deck, const CardFile& file) const {
    return progressData(deck, dueCards_.days(), clock_.today(),
                        deckNameOf(file.fileName().value_or(std::string())));
}
