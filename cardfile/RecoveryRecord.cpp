#include "cardfile/RecoveryRecord.h"

#include <utility>

#include "cardfile/CardWriter.h"
#include "cardfile/RecoveryEncoding.h"
#include "cardfile/RecoveryFraming.h"

namespace {

constexpr std::string_view magic = "MQRECORD";
constexpr std::string_view recordExtension = ".mqr";
constexpr std::string_view baseExtension = ".mqb";

bool isEntryType(std::uint8_t type) {
    return type == static_cast<std::uint8_t>(EntryType::change) ||
           type == static_cast<std::uint8_t>(EntryType::navigation);
}

}  // namespace

std::string recordHead(const RecordHeader& header) {
    return std::string(magic) + frame(headerPayload(header));
}

std::optional<RecordContents> parseRecord(std::string_view bytes) {
    if (bytes.substr(0, magic.size()) != magic) return std::nullopt;
    bytes.remove_prefix(magic.size());
    const std::optional<std::string_view> head = nextFrame(bytes);
    std::optional<RecordHeader> header = head ? parseHeader(*head) : std::nullopt;
    if (!header) return std::nullopt;
    RecordContents contents;
    contents.header = std::move(*header);
    contents.changes = contents.header.changes;
    contents.last = contents.header.time;
    contents.lastBox = contents.header.box;
    // A torn or damaged entry ends the record: what follows it cannot be trusted.
    while (const std::optional<std::string_view> payload = nextFrame(bytes)) {
        const std::optional<EntryHead> entry = readEntryHead(*payload);
        if (!entry || !isEntryType(entry->type)) {
            break;
        }
        if (entry->type == static_cast<std::uint8_t>(EntryType::change)) {
            ++contents.changes;
            contents.last = entry->time;
        }
        contents.lastBox = entry->box;
        contents.entries.emplace_back(*payload);
    }
    return contents;
}

LiveRecord::LiveRecord(FileSystem& files, std::string recordPath, std::string basePath)
    : files_(files), recordPath_(std::move(recordPath)), basePath_(std::move(basePath)) {}

bool LiveRecord::begin(const CardBoxes& deck, RecordHeader header, ErrorCode& error) {
    remove();
    base_ = files_.createForWriting(basePath_, error);
    ContentHash hash;
    const bool written =
        base_ && composeCardTextInPieces(deck, savedEncoding(deck), [&](const std::string& piece) {
            hash.add(piece);
            header.baseSize += piece.size();
            return writeWhole(*base_, piece, error);
        });
    header.baseHash = hash.value();
    file_ = written ? files_.openForAppending(recordPath_, error) : nullptr;
    if (!file_ || !writeWhole(*file_, recordHead(header), error)) {
        remove();
        return false;
    }
    unflushed_ = true;
    return true;
}

bool LiveRecord::append(const std::string& framed, ErrorCode& error) {
    unflushed_ = true;
    return file_ && writeWhole(*file_, framed, error);
}

bool LiveRecord::flush(ErrorCode& error) {
    if (!file_ || !unflushed_) return true;
    unflushed_ = false;
    // The base first: entries on the disk without it could not be replayed.
    const bool based = !base_ || base_->commit(error);
    base_.reset();
    return based && file_->flush(error);
}

void LiveRecord::remove() {
    // Closed first: a file held open cannot be removed.
    file_.reset();
    base_.reset();
    files_.remove(recordPath_);
    files_.remove(basePath_);
}

std::string recordFileName(const std::string& runName) {
    return runName + std::string(recordExtension);
}

std::string baseFileName(const std::string& recordFileName) {
    return recordFileName.substr(0, recordFileName.size() - recordExtension.size()) +
           std::string(baseExtension);
}

bool isRecordFileName(const std::string& name) {
    return name.size() > recordExtension.size() &&
           name.compare(name.size() - recordExtension.size(), recordExtension.size(),
                        recordExtension) == 0;
}
