#include <optional>
#include <string>

#include "view/ControlIds.h"
#include "view/MQMainView.h"

void MQMainView::offerRecovery(DialogPort& dialog) {
    const Command command(*this, dialog);
    const RecoveryOutcome outcome = offerLeftRecords(
        platform_, cardFile_, recovery_, dialog,
        [this](DialogPort& to, int box, const CardRef& shown) { takeOpenedDeck(to, box, shown); });
    if (outcome == RecoveryOutcome::broughtBackApart) {
        onSaveAs(dialog);
    }
}

void MQMainView::onActivated(DialogPort& dialog) {
    if (deck_ == nullptr || waitingForUser() || command_.running() || recovery_.hasChanges()) {
        return;
    }
    if (cardFile_.diskState() != DiskState::changed) {
        return;
    }
    // A version that would not open is not tried again at every activation.
    const std::optional<FileIdentity> now =
        identityOnDisk(platform_.files, cardFile_.fileName().value_or(std::string()));
    const FileStamp stamp = now ? now->stamp : FileStamp{};
    if (reloadTried_ && reloadTried_->size == stamp.size &&
        reloadTried_->writeTime == stamp.writeTime) {
        return;
    }
    reloadTried_ = stamp;

    const int box = getSelectedBox(dialog);
    const CardRef shown = view_.currentCard;
    const Command command(*this, dialog);
    // A copy: opening replaces the name it came from.
    const std::string path = cardFile_.fileName().value_or(std::string());
    if (cardFile_.openCardFileAt(dialog, path)) {
        takeOpenedDeck(dialog, box, shown);
    }
}
