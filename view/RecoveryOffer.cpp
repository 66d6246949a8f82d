#include "view/RecoveryOffer.h"

#include <algorithm>
#include <tuple>

#include "cardfile/CardReader.h"

namespace {
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
