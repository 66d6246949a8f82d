#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cardfile/RecoveryFraming.h"
#include "cardfile/RecoveryRecord.h"

// How the record's header, its entries and the changes in them are put in bytes.
// Each is described once, in RecoveryEncoding.cpp, and the same description both
// writes and reads it.

enum class EntryType : std::uint8_t { header = 0, change = 1, navigation = 2 };

std::string headerPayload(const RecordHeader& header);
std::optional<RecordHeader> parseHeader(std::string_view payload);

// What every entry begins with.
struct EntryHead {
    std::uint8_t type = 0;
    LocalTime time;
    int box = 1;
};
std::optional<EntryHead> readEntryHead(std::string_view payload);

// Only what a replayed change needs of it; the rest of DeckChange is kept by undo.
struct ReadChange {
    ReadChange() : change(DeckChange::Kind::turned, 0) {}
    DeckChange change;
    bool forward = true;
    bool texts = false;
    std::string question, answer, info;  // of a texts change: those it replaced
};

// Reads an entry's changes one at a time, each finding its card in `deck` as the
// changes before it left it.
class EntryReader {
public:
    EntryReader(std::string_view payload, const CardBoxes& deck, CardNumbers& numbers);
    bool ok() const { return in_.ok(); }
    bool atEnd() const { return in_.atEnd(); }
    // False when the change does not fit the deck or the bytes.
    bool next(ReadChange& out);

private:
    ByteReader in_;
    const CardBoxes& deck_;
    CardNumbers& numbers_;
    EntryHead head_;
};
