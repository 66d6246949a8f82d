#include <optional>
#include <string>

#include "model/SameCard.h"
#include "platform/WinConstants.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

namespace {
const char* const caption = "Mnemoquill";
const char* const damagedText =
    "The unsaved changes can't be brought back: the record of them is damaged.\n\n";
const char* const changedText = " was changed by another program after these changes were made";
const char* const removedText = " was removed after these changes were made";
const char* const keepBothText =
    ", so they were not mixed with it.\n\nThe cards are shown as the changes left them. Save "
    "them under another name next, so that neither version is lost.";
}  // namespace

void MQMainView::offerRecovery(DialogPort& dialog) {
    const Command command(*this, dialog);
    const std::optional<std::string> folder = recovery_.folder();
    if (!folder) {
        return;
    }
    for (const LeftRecord& left : findLeftRecords(platform_.files, platform_.recovery, *folder)) {
        const int answer = platform_.messageBoxes.show(
            dialog.window(), recoveryQuestion(left.contents), caption, MB_YESNO | MB_ICONWARNING);
        // One deck is brought back; other records wait for the next start.
        if (answer == IDYES && bringBack(dialog, left)) {
            return;
        }
        if (answer != IDYES) {
            removeLeftRecord(platform_.files, left);
        }
    }
}

bool MQMainView::bringBack(DialogPort& dialog, const LeftRecord& left) {
    const RecordHeader& header = left.contents.header;
    std::unique_ptr<CardBoxes> deck = rebuildDeck(platform_.files, platform_.messageBoxes, left);
    if (!deck) {
        // The base stays, named in the box: it may still be a card file worth opening.
        platform_.messageBoxes.show(dialog.window(), damagedText + left.basePath, caption,
                                    MB_OK | MB_ICONERROR);
        platform_.files.remove(left.path);
        return false;
    }
    FileIdentity known = header.identity;
    const DiskState disk = compareWithDisk(platform_.files, header.cardFile, known);
    cardFile_.adoptRecovered(dialog, header.cardFile, std::move(deck), header.identity);
    takeOpenedDeck(dialog);
    selectBoxShowing(dialog, left.contents.lastBox, nullptr);
    // The new record is on disk before the old one goes.
    recovery_.resume(*deck_, cardFile_, left.contents.changes, left.contents.last,
                     getSelectedBox(dialog));
    removeLeftRecord(platform_.files, left);
    if (disk != DiskState::same) {
        const std::string text = "The card file " + header.cardFile +
                                 (disk == DiskState::changed ? changedText : removedText) +
                                 keepBothText;
        platform_.messageBoxes.show(dialog.window(), text, caption, MB_OK | MB_ICONWARNING);
        onSaveAs(dialog);
    }
    return true;
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
    reloadChangedDeck(dialog);
}

void MQMainView::reloadChangedDeck(DialogPort& dialog) {
    const int box = getSelectedBox(dialog);
    const CardRef shown = view_.currentCard;
    const Command command(*this, dialog);
    // A copy: opening replaces the name it came from.
    const std::string path = cardFile_.fileName().value_or(std::string());
    if (!cardFile_.openCardFileAt(dialog, path)) {
        return;
    }
    takeOpenedDeck(dialog);
    selectBoxShowing(dialog, box, shown);
}

void MQMainView::selectBoxShowing(DialogPort& dialog, int box, const CardRef& card) {
    if (box < 0 || box >= CardBoxes::boxCount) {
        return;
    }
    if (box != 1) {
        onSelectBox(dialog, ids::box0Item + box);
    }
    if (!card || !activeCard_->isInit()) {
        return;
    }
    // The same card, read anew, is known by its texts.
    const CardBoxes::Box& cards = deck_->box(box);
    for (std::size_t index = 1; index < cards.size(); ++index) {
        if (isSameCard(*cards[index], *card)) {
            deck_->turnTo(box, index, activeCard_);
            bringToFront(dialog, activeCard_);
            return;
        }
    }
}
