#include "cardfile/RecoveryRecord.h"

#include <utility>

#include "cardfile/CardWriter.h"

namespace {

constexpr std::string_view magic = "MQRECORD";
constexpr std::uint8_t formatVersion = 1;
constexpr std::string_view recordExtension = ".mqr";
constexpr std::string_view baseExtension = ".mqb";
// An entry longer than this is no entry but a damaged length.
constexpr std::uint32_t longestEntry = 256u * 1024 * 1024;

enum class EntryType : std::uint8_t { header = 0, change = 1, navigation = 2 };
// Beside the kinds of DeckChange, whose numbers lie below it.
constexpr std::uint8_t textsCode = 0x40;

using Kind = DeckChange::Kind;

class Out {
public:
    explicit Out(std::string& bytes) : bytes_(bytes) {}
    void u8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void i8(int value) { u8(static_cast<std::uint8_t>(static_cast<std::int8_t>(value))); }
    void u16(std::uint16_t value) { little(value, 2); }
    void u32(std::uint32_t value) { little(value, 4); }
    void i32(std::int32_t value) { little(static_cast<std::uint32_t>(value), 4); }
    void u64(std::uint64_t value) { little(value, 8); }
    void text(std::string_view value) {
        u32(static_cast<std::uint32_t>(value.size()));
        bytes_.append(value.data(), value.size());
    }

private:
    void little(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    }
    std::string& bytes_;
};

// Reads what Out wrote; once a read runs past the end, every read fails.
class In {
public:
    explicit In(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ >= bytes_.size(); }
    std::uint8_t u8() { return static_cast<std::uint8_t>(little(1)); }
    int i8() { return static_cast<std::int8_t>(u8()); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(little(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(little(4)); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::uint64_t u64() { return little(8); }
    std::string_view text() {
        const std::uint32_t size = u32();
        if (!ok_ || bytes_.size() - at_ < size) {
            ok_ = false;
            return {};
        }
        const std::string_view value = bytes_.substr(at_, size);
        at_ += size;
        return value;
    }

private:
    std::uint64_t little(std::size_t bytes) {
        if (!ok_ || bytes_.size() - at_ < bytes) {
            ok_ = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            value |= std::uint64_t{static_cast<unsigned char>(bytes_[at_ + i])} << (8 * i);
        }
        at_ += bytes;
        return value;
    }
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::string frame(const std::string& payload) {
    std::string framed;
    Out out(framed);
    out.u32(static_cast<std::uint32_t>(payload.size()));
    out.u32(crc32(payload));
    return framed + payload;
}

void putTime(Out& out, LocalTime time, int box) {
    out.i32(time.day);
    out.u16(static_cast<std::uint16_t>(time.minute));
    out.i8(box);
}

LocalTime takeTime(In& in, int& box) {
    LocalTime time;
    time.day = in.i32();
    time.minute = in.u16();
    box = in.i8();
    return time;
}

std::string headerPayload(const RecordHeader& header) {
    std::string payload;
    Out out(payload);
    out.u8(static_cast<std::uint8_t>(EntryType::header));
    out.u8(formatVersion);
    out.text(header.cardFile);
    out.u8(header.identity.exists ? 1 : 0);
    out.u64(header.identity.stamp.size);
    out.u64(header.identity.stamp.writeTime);
    out.u64(header.identity.stamp.takenAt);
    out.u8(header.identity.hash ? 1 : 0);
    out.u64(header.identity.hash.value_or(0));
    out.u64(header.baseSize);
    out.u64(header.baseHash);
    out.u32(header.changes);
    putTime(out, header.time, header.box);
    return payload;
}

std::optional<RecordHeader> parseHeader(std::string_view payload) {
    In in(payload);
    RecordHeader header;
    if (in.u8() != static_cast<std::uint8_t>(EntryType::header) || in.u8() != formatVersion) {
        return std::nullopt;
    }
    header.cardFile = std::string(in.text());
    header.identity.exists = in.u8() != 0;
    header.identity.stamp.size = in.u64();
    header.identity.stamp.writeTime = in.u64();
    header.identity.stamp.takenAt = in.u64();
    const bool hashed = in.u8() != 0;
    const std::uint64_t hash = in.u64();
    if (hashed) header.identity.hash = hash;
    header.baseSize = in.u64();
    header.baseHash = in.u64();
    header.changes = in.u32();
    header.time = takeTime(in, header.box);
    if (!in.ok()) return std::nullopt;
    return header;
}

// The next complete frame's payload; nothing at the end or at a torn or damaged one.
std::optional<std::string_view> nextFrame(std::string_view& bytes) {
    In in(bytes);
    const std::uint32_t size = in.u32();
    const std::uint32_t checksum = in.u32();
    if (!in.ok() || size > longestEntry || bytes.size() - 8 < size) {
        return std::nullopt;
    }
    const std::string_view payload = bytes.substr(8, size);
    if (crc32(payload) != checksum) {
        return std::nullopt;
    }
    bytes.remove_prefix(8 + std::size_t{size});
    return payload;
}

bool isBox(int box) { return box >= 0 && box < CardBoxes::boxCount; }

// Only what a replayed change needs of it; the rest of DeckChange is kept by undo.
struct Replayed {
    Replayed() : change(Kind::turned, 0) {}
    DeckChange change;
    bool forward = true;
    bool texts = false;
    std::string question, answer, info;  // of a texts change: those it replaced
};

CardRef readCard(In& in, CardNumbers& numbers) {
    const std::uint32_t number = in.u32();
    const std::string_view mark = in.text();
    const std::int32_t section = in.i32();
    const CalendarDay day = in.i32();
    const std::string_view question = in.text();
    const std::string_view answer = in.text();
    const std::string_view info = in.text();
    if (!in.ok()) return nullptr;
    auto card = std::make_shared<Card>(mark, section, 0, question, answer, info);
    card->setDay(day);
    numbers.numberAs(card, number);
    return card;
}

// The card of a change, where its position says it is.
CardRef front(const CardBoxes& deck, int box) {
    return isBox(box) && deck.count(box) > 0 ? deck.box(box).front() : nullptr;
}
CardRef back(const CardBoxes& deck, int box) {
    return isBox(box) && deck.count(box) > 0 ? deck.box(box).back() : nullptr;
}

// Reads one change and finds or makes its card; false when it does not fit.
bool readChange(In& in, const CardBoxes& deck, CardNumbers& numbers, Replayed& out) {
    const std::uint8_t code = in.u8();
    out.forward = in.u8() != 0;
    if (code == textsCode) {
        out.texts = true;
        out.change.card = numbers.card(in.u32());
        out.question = std::string(in.text());
        out.answer = std::string(in.text());
        out.info = std::string(in.text());
        return in.ok() && out.change.card != nullptr;
    }
    if (code > static_cast<std::uint8_t>(Kind::tallied)) return false;
    DeckChange& change = out.change;
    change.kind = static_cast<Kind>(code);
    switch (change.kind) {
        case Kind::moved:
            change.box = static_cast<std::int8_t>(in.i8());
            change.toBox = static_cast<std::int8_t>(in.i8());
            change.before = in.i32();
            change.card = out.forward ? front(deck, change.box) : back(deck, change.toBox);
            return in.ok() && change.card && isBox(change.box) && isBox(change.toBox);
        case Kind::turned:
            change.box = static_cast<std::int8_t>(in.i8());
            change.before = in.i32();
            return in.ok() && isBox(change.box);
        case Kind::inserted:
            change.box = static_cast<std::int8_t>(in.i8());
            change.before = in.i32();
            change.card = out.forward ? readCard(in, numbers) : front(deck, change.box);
            return in.ok() && change.card && isBox(change.box);
        case Kind::removed:
            change.box = static_cast<std::int8_t>(in.i8());
            change.card = out.forward ? front(deck, change.box) : readCard(in, numbers);
            return in.ok() && change.card && isBox(change.box);
        case Kind::marked:
            change.card = numbers.card(in.u32());
            change.markBefore = std::string(in.text());
            change.markAfter = std::string(in.text());
            return in.ok() && change.card;
        case Kind::dated:
            change.card = numbers.card(in.u32());
            change.before = in.i32();
            change.after = in.i32();
            return in.ok() && change.card;
        case Kind::tallied:
            // `box` names the count (a Tally) and `before` the day counted on.
            change.box = static_cast<std::int8_t>(in.i8());
            change.before = in.i32();
            return in.ok() && change.box >= 0 && change.box <= static_cast<int>(Tally::rightFirstTry);
        case Kind::flagged:
            return false;  // never written
    }
    return false;
}

void setTexts(Card& card, std::string_view question, std::string_view answer,
              std::string_view info) {
    card.setQuestion(question);
    card.setAnswer(answer);
    card.setInfo(info);
}

void apply(CardBoxes& deck, Replayed& replayed) {
    if (!replayed.texts) {
        deck.replay(replayed.change, replayed.forward);
        return;
    }
    Card& card = *replayed.change.card;
    std::string question(card.getQuestion()), answer(card.getAnswer()), info(card.getInfo());
    setTexts(card, replayed.question, replayed.answer, replayed.info);
    replayed.question = std::move(question);
    replayed.answer = std::move(answer);
    replayed.info = std::move(info);
}

void takeBack(CardBoxes& deck, std::vector<Replayed>& applied) {
    for (auto it = applied.rbegin(); it != applied.rend(); ++it) {
        if (it->texts) {
            setTexts(*it->change.card, it->question, it->answer, it->info);
        } else {
            deck.replay(it->change, !it->forward);
        }
    }
}

}  // namespace

void CardNumbers::numberDeck(const CardBoxes& deck) {
    numbers_.clear();
    cards_.clear();
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        for (const CardRef& card : deck.box(box)) {
            numberNew(card);
        }
    }
}

std::optional<std::uint32_t> CardNumbers::numberOf(const Card& card) const {
    const auto found = numbers_.find(&card);
    if (found == numbers_.end()) return std::nullopt;
    return found->second;
}

std::uint32_t CardNumbers::numberNew(const CardRef& card) {
    const auto number = static_cast<std::uint32_t>(cards_.size());
    numberAs(card, number);
    return number;
}

void CardNumbers::numberAs(const CardRef& card, std::uint32_t number) {
    if (number >= cards_.size()) cards_.resize(std::size_t{number} + 1);
    cards_[number] = card;
    numbers_[card.get()] = number;
}

CardRef CardNumbers::card(std::uint32_t number) const {
    return number < cards_.size() ? cards_[number] : nullptr;
}

RecordEntry::RecordEntry(CardNumbers& numbers, bool counts, LocalTime time, int box)
    : numbers_(numbers) {
    Out out(payload_);
    out.u8(static_cast<std::uint8_t>(counts ? EntryType::change : EntryType::navigation));
    putTime(out, time, box);
}

void RecordEntry::addNumber(const Card& card) {
    const std::optional<std::uint32_t> number = numbers_.numberOf(card);
    complete_ = complete_ && number.has_value();
    Out(payload_).u32(number.value_or(0));
}

// A card that comes into the deck comes whole, under a new number: it may be one
// that left it before the record began.
void RecordEntry::addCard(const CardRef& card) {
    Out out(payload_);
    out.u32(numbers_.numberNew(card));
    out.text(card->getMark());
    out.i32(card->getSection());
    out.i32(card->getDay());
    out.text(card->getQuestion());
    out.text(card->getAnswer());
    out.text(card->getInfo());
}

void RecordEntry::add(const DeckChange& change, bool forward) {
    Out out(payload_);
    // Every kind is written here; a kind added later must be written here too.
    switch (change.kind) {
        case Kind::flagged:
            return;  // the dialog's has-a-card flag, which no card file holds
        case Kind::moved:
            out.u8(static_cast<std::uint8_t>(change.kind));
            out.u8(forward);
            out.i8(change.box);
            out.i8(change.toBox);
            out.i32(change.before);
            break;
        case Kind::turned:
            out.u8(static_cast<std::uint8_t>(change.kind));
            out.u8(forward);
            out.i8(change.box);
            out.i32(change.before);
            break;
        case Kind::inserted:
            out.u8(static_cast<std::uint8_t>(change.kind));
            out.u8(forward);
            out.i8(change.box);
            out.i32(change.before);
            if (forward) addCard(change.card);
            break;
        case Kind::removed:
            out.u8(static_cast<std::uint8_t>(change.kind));
            out.u8(forward);
            out.i8(change.box);
            if (!forward) addCard(change.card);
            break;
        case Kind::marked:
            out.u8(static_cast<std::uint8_t>(change.kind));
            out.u8(forward);
            addNumber(*change.card);
            out.text(change.markBefore);
            out.text(change.markAfter);
            break;
        case Kind::dated:
            out.u8(static_cast<std::uint8_t>(change.kind));
            out.u8(forward);
            addNumber(*change.card);
            out.i32(change.before);
            out.i32(change.after);
            break;
        case Kind::tallied:
            out.u8(static_cast<std::uint8_t>(change.kind));
            out.u8(forward);
            out.i8(change.box);
            out.i32(change.before);
            break;
    }
    ++changes_;
}

void RecordEntry::addTexts(const CardRef& card) {
    Out out(payload_);
    out.u8(textsCode);
    out.u8(1);
    addNumber(*card);
    out.text(card->getQuestion());
    out.text(card->getAnswer());
    out.text(card->getInfo());
    ++changes_;
}

std::string RecordEntry::framed() const { return frame(payload_); }

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
        In in(*payload);
        const std::uint8_t type = in.u8();
        int box = 1;
        const LocalTime time = takeTime(in, box);
        if (!in.ok() || (type != static_cast<std::uint8_t>(EntryType::change) &&
                         type != static_cast<std::uint8_t>(EntryType::navigation))) {
            break;
        }
        if (type == static_cast<std::uint8_t>(EntryType::change)) {
            ++contents.changes;
            contents.last = time;
        }
        contents.lastBox = box;
        contents.entries.emplace_back(*payload);
    }
    return contents;
}

bool replayEntry(CardBoxes& deck, CardNumbers& numbers, std::string_view payload) {
    In in(payload);
    in.u8();
    int box = 0;
    takeTime(in, box);
    std::vector<Replayed> applied;
    while (in.ok() && !in.atEnd()) {
        Replayed replayed;
        if (!readChange(in, deck, numbers, replayed)) {
            takeBack(deck, applied);
            return false;
        }
        apply(deck, replayed);
        applied.push_back(std::move(replayed));
    }
    if (!in.ok()) {
        takeBack(deck, applied);
        return false;
    }
    return true;
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
