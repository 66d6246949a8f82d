#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cardfile/RecoveryRecord.h"
#include "model/CardBoxes.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/RecoveryPlace.h"

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
