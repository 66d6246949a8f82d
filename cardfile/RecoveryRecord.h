#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cardfile/FileIdentity.h"
#include "model/CardBoxes.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

// The recovery record keeps the changes of a deck that are not saved yet, so that
// they outlive a crash. It is two files: the base, the card text of the deck when
// the record began (its first change included), and the record itself: a header,
// then one entry per command after it, appended as the commands end. Each entry is
// framed by its length and CRC-32, so a torn last write is known and left out.
// Entries name cards by position (box, front or back) and, where a change names a
// card, by a number the record gives it: the base's cards in file order, then each
// card put into the deck as it comes. RecoveryFraming holds the bytes and frames,
// RecoveryEncoding what each entry and change puts in them, RecoveryReplay the
// replay; this file's .cpp the files on disk.

// What the record says about itself.
struct RecordHeader {
    std::string cardFile;
    // The card file as the program knew it (read or saved) when the record began.
    FileIdentity identity;
    std::uint64_t baseSize = 0;
    std::uint64_t baseHash = 0;
    // Changes already in the base when the record began.
    std::uint32_t changes = 0;
    LocalTime time;
    int box = 1;
};

// The numbers the record gives cards. It holds each card it numbered, so no card
// can leave memory and another take its address and number.
class CardNumbers {
public:
    // The deck's cards in the order the base lists them.
    void numberDeck(const CardBoxes& deck);
    std::optional<std::uint32_t> numberOf(const Card& card) const;
    std::uint32_t numberNew(const CardRef& card);
    void numberAs(const CardRef& card, std::uint32_t number);
    CardRef card(std::uint32_t number) const;

private:
    std::unordered_map<const Card*, std::uint32_t> numbers_;
    std::vector<CardRef> cards_;
};

// One command's entry, built as its changes are told.
class RecordEntry {
public:
    // `counts`: the command changed the deck (or its texts); else it only turned.
    RecordEntry(CardNumbers& numbers, bool counts, LocalTime time, int box);
    void add(const DeckChange& change, bool forward);
    void addTexts(const CardRef& card);
    bool empty() const { return changes_ == 0; }
    // False when a change named a card the record never numbered: the entry would
    // not replay.
    bool complete() const { return complete_; }
    // Length, checksum and payload, ready to append.
    std::string framed() const;

private:
    CardNumbers& numbers_;
    std::string payload_;
    std::size_t changes_ = 0;
    bool complete_ = true;
};

// The bytes of a record's file, up to its last complete entry.
struct RecordContents {
    RecordHeader header;
    std::vector<std::string> entries;  // payloads
    // All changes: those in the base and each entry that counts.
    std::uint32_t changes = 0;
    LocalTime last;
    int lastBox = 1;
};
std::optional<RecordContents> parseRecord(std::string_view bytes);

// The first bytes of a record file: the mark and the header.
std::string recordHead(const RecordHeader& header);

// Makes an entry's changes on the deck read from the base (numbered by `numbers`
// in the same order first). False when one does not fit the deck, which is then
// as before the entry.
bool replayEntry(CardBoxes& deck, CardNumbers& numbers, std::string_view payload);

// This run's record on disk, held open so that no other run takes it for one left
// by a crash.
class LiveRecord {
public:
    LiveRecord(FileSystem& files, std::string recordPath, std::string basePath);
    // Writes `deck` as the base, then the header. False (and the code) when it
    // cannot; nothing is left behind then.
    bool begin(const CardBoxes& deck, RecordHeader header, ErrorCode& error);
    bool append(const std::string& framed, ErrorCode& error);
    bool flush(ErrorCode& error);
    // Closes and removes both files.
    void remove();

private:
    FileSystem& files_;
    std::string recordPath_;
    std::string basePath_;
    std::unique_ptr<OutputFile> file_;
    // Open until the first flush takes it to the disk with the first entries.
    std::unique_ptr<OutputFile> base_;
    bool unflushed_ = false;
};

// The file names of the record and base of a run.
std::string recordFileName(const std::string& runName);
std::string baseFileName(const std::string& recordFileName);
bool isRecordFileName(const std::string& name);
