#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cardfile/RecoveryRecord.h"
#include "model/CardBoxes.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/RecoveryPlace.h"
#include "view/DialogPort.h"
#include "view/RecoveryKeeper.h"
#include "view/TakeDeck.h"

// A record that a run left behind when it did not end normally.
struct LeftRecord {
    std::string path;
    std::string basePath;
    RecordContents contents;
};

// The records in `folder` that no running program holds, the latest change first.
// Those with no change to bring back, or that are no record at all, go on the way.
std::vector<LeftRecord> findLeftRecords(FileSystem& files, RecoveryPlace& place,
                                        const std::string& folder);

// "Mnemoquill was not closed properly." with the file, the changes and the time of
// the last.
std::string recoveryQuestion(const RecordContents& contents);

// The deck as the record's last entry left it, made on its base; nothing when the
// base is not the one the record began with. An entry that does not fit the deck
// ends the replay.
std::unique_ptr<CardBoxes> rebuildDeck(FileSystem& files, MessageBoxes& boxes,
                                       const LeftRecord& record);

void removeLeftRecord(FileSystem& files, const LeftRecord& record);

// What the question at start-up came to.
enum class RecoveryOutcome {
    none,
    broughtBack,
    // Brought back, but the card file changed or went since the changes were
    // made: the deck is to be saved under another name, so that neither is lost.
    broughtBackApart,
};

// Asks about each left record in turn, until the user brings one back: its deck
// becomes the card file's, shown by `takeDeck` in the box of its last change,
// and this run's record goes on from it. A record the user declines goes; one
// that cannot be brought back is said to be damaged and goes, its base kept.
RecoveryOutcome offerLeftRecords(Platform& platform, CardFile& file, RecoveryKeeper& recovery,
                                 DialogPort& dialog, const TakeDeck& takeDeck);
