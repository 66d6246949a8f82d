#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "cardfile/CardFile.h"
#include "cardfile/RecoveryRecord.h"
#include "platform/Platform.h"
#include "view/Feature.h"

// Keeps this run's recovery record in step with the deck: begun at the first change
// after the deck was read or saved, one entry per command after that, removed when
// the deck is saved, replaced, or the program ends normally. A step never waits for
// the disk: entries are handed to the system as the command ends, and pushed to the
// disk by the periodic tick.
class RecoveryKeeper : public Feature {
public:
    explicit RecoveryKeeper(Platform& platform);

    void commandBegan(DialogPort&) override { settledInCommand_ = false; }
    // What the command did, or what Undo and Redo replayed, becomes an entry.
    void commandEnded(DialogPort& dialog, CommandEnd& end) override;
    // The deck is now what its card file holds (or, after a crash, what the record
    // held): the record goes. What the current command did is in that state already.
    void deckReplaced(DialogPort&, CardBoxes&) override { restart(); }
    void deckSaved(DialogPort&) override { restart(); }
    // A record begins at once for a deck that already holds `changes` unsaved ones.
    void resume(const CardBoxes& deck, const CardFile& file, std::uint32_t changes, LocalTime last,
                int box);

    // Changes since the deck was read or saved (the record may not have reached
    // the disk).
    bool hasChanges() const { return changes_ > 0; }
    void tick();
    // The program ends normally: whatever was not saved was the user's choice.
    void end();

    // Where the records lie; nothing when the folder cannot be had.
    std::optional<std::string> folder();

private:
    void restart();
    // `tell` tells the entry its changes. `counts`: the command changed the deck or
    // a card's texts, rather than only turning boxes.
    void keep(const CardBoxes& deck, const CardFile& file, bool counts, int box,
              const std::function<void(RecordEntry&)>& tell);
    void begin(const CardBoxes& deck, const CardFile& file, LocalTime time, int box);
    void reportFailure(ErrorCode error);

    Platform& platform_;
    std::unique_ptr<LiveRecord> record_;
    CardNumbers numbers_;
    std::uint32_t changes_ = 0;
    bool settledInCommand_ = false;
    // Writing failed: the changes are still counted, but no longer written, until
    // the next record.
    bool broken_ = false;
    bool failureShown_ = false;
};
