#include "view/RecoveryOffer.h"

#include <algorithm>
#include <tuple>

#include "cardfile/CardReader.h"
#include "platform/WinConstants.h"
#include "view/CardView.h"

namespace {
const char* const caption = "Mnemoquill";
const char* const damagedText =
    "The unsaved changes can't be brought back: the record of them is damaged.\n\n";
const char* const changedText = " was changed by another program after these changes were made";
const char* const removedText = " was removed after these changes were made";
const char* const keepBothText =
    ", so they were not mixed with it.\n\nThe cards are shown as the changes left them. Save "
    "them under another name next, so that neither version is lost.";

std::optional<std::string> readWhole(FileSystem& files, const std::string& path) {
    ErrorCode error = 0;
    std::unique_ptr<InputFile> file = files.openForReading(path, error);
    std::string bytes;
    if (!file || !readToEnd(*file, bytes, error)) return std::nullopt;
    return bytes;
}

std::string twoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
           static_cast<char>('0' + value % 10);
}

bool later(const LeftRecord& a, const LeftRecord& b) {
    return std::tie(a.contents.last.day, a.contents.last.minute) >
           std::tie(b.contents.last.day, b.contents.last.minute);
}
}  // namespace

std::vector<LeftRecord> findLeftRecords(FileSystem& files, RecoveryPlace& place,
                                        const std::string& folder) {
    std::vector<LeftRecord> left;
    for (const std::string& name : place.fileNames(folder)) {
        if (!isRecordFileName(name)) continue;
        LeftRecord record{folder + name, folder + baseFileName(name), {}};
        ErrorCode error = 0;
        // A running program holds its record open for appending.
        if (!files.openForAppending(record.path, error)) continue;
        const std::optional<std::string> bytes = readWhole(files, record.path);
        if (!bytes) continue;
        std::optional<RecordContents> contents = parseRecord(*bytes);
        if (!contents || contents->changes == 0) {
            removeLeftRecord(files, record);
            continue;
        }
        record.contents = std::move(*contents);
        left.push_back(std::move(record));
    }
    std::sort(left.begin(), left.end(), later);
    return left;
}

std::string recoveryQuestion(const RecordContents& contents) {
    const std::uint32_t changes = contents.changes;
    return "Mnemoquill was not closed properly.\n\nThe card file " + contents.header.cardFile +
           " has " + std::to_string(changes) +
           (changes == 1 ? " unsaved change" : " unsaved changes") + ", the last at " +
           twoDigits(contents.last.minute / 60) + ":" + twoDigits(contents.last.minute % 60) +
           " on " + formatDay(contents.last.day) + ".\n\nDo you want to bring them back?";
}

std::unique_ptr<CardBoxes> rebuildDeck(FileSystem& files, MessageBoxes& boxes,
                                       const LeftRecord& record) {
    const RecordHeader& header = record.contents.header;
    const std::optional<std::string> base = readWhole(files, record.basePath);
    if (!base || base->size() != header.baseSize || contentHash(*base) != header.baseHash) {
        return nullptr;
    }
    auto deck = std::make_unique<CardBoxes>();
    // A deck begun with New may have had no card: the reader would ask about that.
    if (!base->empty()) readCardFileBytes(*deck, *base, boxes);
    if (deck->isAborted() != 0) return nullptr;
    CardNumbers numbers;
    numbers.numberDeck(*deck);
    for (const std::string& entry : record.contents.entries) {
        if (!replayEntry(*deck, numbers, entry)) break;
    }
    return deck;
}

void removeLeftRecord(FileSystem& files, const LeftRecord& record) {
    files.remove(record.path);
    files.remove(record.basePath);
}

namespace {
RecoveryOutcome bringBack(Platform& platform, CardFile& file, RecoveryKeeper& recovery,
                          DialogPort& dialog, const TakeDeck& takeDeck, const LeftRecord& left) {
    const RecordHeader& header = left.contents.header;
    std::unique_ptr<CardBoxes> deck = rebuildDeck(platform.files, platform.messageBoxes, left);
    if (!deck) {
        // The base stays, named in the box: it may still be a card file worth opening.
        platform.messageBoxes.show(dialog.window(), damagedText + left.basePath, caption,
                                   MB_OK | MB_ICONERROR);
        platform.files.remove(left.path);
        return RecoveryOutcome::none;
    }
    FileIdentity known = header.identity;
    const DiskState disk = compareWithDisk(platform.files, header.cardFile, known);
    file.adoptRecovered(dialog, header.cardFile, std::move(deck), header.identity);
    takeDeck(dialog, left.contents.lastBox, nullptr);
    // The new record is on disk before the old one goes.
    recovery.resume(*file.deckSlot(), file, left.contents.changes, left.contents.last,
                    getSelectedBox(dialog));
    removeLeftRecord(platform.files, left);
    if (disk == DiskState::same) {
        return RecoveryOutcome::broughtBack;
    }
    const std::string text = "The card file " + header.cardFile +
                             (disk == DiskState::changed ? changedText : removedText) +
                             keepBothText;
    platform.messageBoxes.show(dialog.window(), text, caption, MB_OK | MB_ICONWARNING);
    return RecoveryOutcome::broughtBackApart;
}
}  // namespace

RecoveryOutcome offerLeftRecords(Platform& platform, CardFile& file, RecoveryKeeper& recovery,
                                 DialogPort& dialog, const TakeDeck& takeDeck) {
    const std::optional<std::string> folder = recovery.folder();
    if (!folder) {
        return RecoveryOutcome::none;
    }
    for (const LeftRecord& left : findLeftRecords(platform.files, platform.recovery, *folder)) {
        const int answer = platform.messageBoxes.show(
            dialog.window(), recoveryQuestion(left.contents), caption, MB_YESNO | MB_ICONWARNING);
        if (answer != IDYES) {
            removeLeftRecord(platform.files, left);
            continue;
        }
        // One deck is brought back; other records wait for the next start.
        const RecoveryOutcome outcome = bringBack(platform, file, recovery, dialog, takeDeck, left);
        if (outcome != RecoveryOutcome::none) {
            return outcome;
        }
    }
    return RecoveryOutcome::none;
}
