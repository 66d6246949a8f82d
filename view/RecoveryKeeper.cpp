#include "view/RecoveryKeeper.h"

#include "platform/MQMessage.h"

namespace {
const char* const cannotKeepText = "Mnemoquill can't keep a record of the unsaved changes";
const char* const cannotKeepNote =
    "They would be lost if the program ended unexpectedly: save them often.";
}  // namespace

RecoveryKeeper::RecoveryKeeper(Platform& platform) : platform_(platform) {}

std::optional<std::string> RecoveryKeeper::folder() {
    ErrorCode error = 0;
    std::optional<std::string> folder = platform_.recovery.folder(error);
    if (!folder) reportFailure(error);
    return folder;
}

void RecoveryKeeper::restart() {
    if (record_) record_->remove();
    record_.reset();
    numbers_ = CardNumbers();
    changes_ = 0;
    broken_ = false;
    settledInCommand_ = true;
}

void RecoveryKeeper::commandEnded(DialogPort&, CommandEnd& end) {
    if (!end.settled) {
        keep(end.deck, end.file, end.changedDeck, end.box, [&end](RecordEntry& entry) {
            for (const DeckChange& change : end.changes) entry.add(change, true);
            if (end.editedCard) entry.addTexts(end.editedCard);
        });
        return;
    }
    const ReplayLog& replayed = end.replayed;
    if (replayed.empty()) return;
    keep(end.deck, end.file, true, end.box, [&replayed](RecordEntry& entry) {
        for (const auto& change : replayed.changes) entry.add(change.change, change.forward);
        if (replayed.editedCard) entry.addTexts(replayed.editedCard);
    });
}

void RecoveryKeeper::keep(const CardBoxes& deck, const CardFile& file, bool counts, int box,
                          const std::function<void(RecordEntry&)>& tell) {
    if (settledInCommand_) return;
    if (changes_ == 0) {
        // Turns before the first change are in the base the change begins.
        if (counts) resume(deck, file, 1, platform_.clock.now(), box);
        return;
    }
    RecordEntry entry(numbers_, counts, platform_.clock.now(), box);
    tell(entry);
    if (entry.empty()) return;
    changes_ += counts ? 1 : 0;
    if (broken_ || !record_) return;
    ErrorCode error = 0;
    if (!entry.complete() || !record_->append(entry.framed(), error)) {
        // An entry that would not replay makes every later one useless too.
        record_->remove();
        broken_ = true;
        reportFailure(entry.complete() ? error : 0);
    }
}

void RecoveryKeeper::resume(const CardBoxes& deck, const CardFile& file, std::uint32_t changes,
                            LocalTime last, int box) {
    changes_ = changes;
    broken_ = false;
    begin(deck, file, last, box);
}

void RecoveryKeeper::begin(const CardBoxes& deck, const CardFile& file, LocalTime time, int box) {
    const std::optional<std::string> place = folder();
    if (!place) {
        broken_ = true;
        return;
    }
    const std::string name = recordFileName(platform_.recovery.runName());
    record_ =
        std::make_unique<LiveRecord>(platform_.files, *place + name, *place + baseFileName(name));
    RecordHeader header;
    header.cardFile = file.fileName().value_or(std::string());
    header.identity = file.identity();
    header.changes = changes_;
    header.time = time;
    header.box = box;
    numbers_.numberDeck(deck);
    ErrorCode error = 0;
    if (!record_->begin(deck, header, error)) {
        record_.reset();
        broken_ = true;
        reportFailure(error);
    }
}

void RecoveryKeeper::tick() {
    ErrorCode error = 0;
    if (record_ && !broken_ && !record_->flush(error)) {
        record_->remove();
        broken_ = true;
        reportFailure(error);
    }
}

void RecoveryKeeper::end() {
    if (record_) record_->remove();
    record_.reset();
}

void RecoveryKeeper::reportFailure(ErrorCode error) {
    // Once a run: the deck itself is fine, and a full disk would ask at every step.
    if (failureShown_) return;
    failureShown_ = true;
    showError(platform_.messageBoxes, cannotKeepText, static_cast<std::int32_t>(error),
              cannotKeepNote);
}
