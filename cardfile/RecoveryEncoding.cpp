#include "cardfile/RecoveryEncoding.h"

#include <memory>
#include <utility>

namespace {

constexpr std::uint8_t formatVersion = 1;
// Beside the kinds of DeckChange, whose numbers lie below it.
constexpr std::uint8_t textsCode = 0x40;

using Kind = DeckChange::Kind;

bool isBox(int box) { return box >= 0 && box < CardBoxes::boxCount; }

// Where a change finds its card when the card itself is not in the record.
enum class End { front, back };

// A card that comes into the deck comes whole, under a new number: it may be one
// that left it before the record began.
struct WholeCard {
    std::uint32_t number = 0;
    std::string mark;
    std::int32_t section = 0;
    std::int32_t day = 0;
    std::string question, answer, info;
};

// The two directions of every description below: Writer puts each value in the
// bytes; Reader takes it from them into place and checks it.
class Writer {
public:
    explicit Writer(std::string& bytes) : out_(bytes) {}
    Writer(std::string& bytes, CardNumbers& numbers, bool& complete)
        : out_(bytes), numbers_(&numbers), complete_(&complete) {}

    template <class T>
    void u8(const T& value) {
        out_.little(static_cast<std::uint8_t>(value), 1);
    }
    template <class T>
    void u16(const T& value) {
        out_.little(static_cast<std::uint16_t>(value), 2);
    }
    template <class T>
    void u32(const T& value) {
        out_.little(static_cast<std::uint32_t>(value), 4);
    }
    void u64(std::uint64_t value) { out_.little(value, 8); }
    template <class T>
    void i8(const T& value) {
        u8(static_cast<std::uint8_t>(static_cast<std::int8_t>(value)));
    }
    template <class T>
    void i32(const T& value) {
        u32(static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
    }
    void flag(bool value) { u8(value ? 1 : 0); }
    void text(std::string_view value) { out_.text(value); }
    void hash(const std::optional<std::uint64_t>& value) {
        flag(value.has_value());
        u64(value.value_or(0));
    }
    template <class T>
    void expect(T value) {
        u8(value);
    }
    void check(bool) {}

    void box(std::int8_t box) { i8(box); }
    void number(const CardRef& card);
    void whole(const CardRef& card);
    void at(const CardRef&, End, int) {}

private:
    ByteWriter out_;
    CardNumbers* numbers_ = nullptr;
    bool* complete_ = nullptr;
};

class Reader {
public:
    explicit Reader(ByteReader& in) : in_(in) {}
    Reader(ByteReader& in, const CardBoxes& deck, CardNumbers& numbers)
        : in_(in), deck_(&deck), numbers_(&numbers) {}

    template <class T>
    void u8(T& value) {
        value = static_cast<T>(in_.little(1));
    }
    template <class T>
    void u16(T& value) {
        value = static_cast<T>(in_.little(2));
    }
    template <class T>
    void u32(T& value) {
        value = static_cast<T>(in_.little(4));
    }
    void u64(std::uint64_t& value) { value = in_.little(8); }
    template <class T>
    void i8(T& value) {
        value = static_cast<T>(static_cast<std::int8_t>(in_.little(1)));
    }
    template <class T>
    void i32(T& value) {
        value = static_cast<T>(static_cast<std::int32_t>(in_.little(4)));
    }
    void flag(bool& value) { value = in_.little(1) != 0; }
    void text(std::string& value) { value = std::string(in_.text()); }
    void hash(std::optional<std::uint64_t>& value) {
        bool has = false;
        std::uint64_t hash = 0;
        flag(has);
        u64(hash);
        if (has) value = hash;
    }
    template <class T>
    void expect(T value) {
        check(in_.little(1) == static_cast<std::uint8_t>(value));
    }
    void check(bool good) {
        if (!good) in_.fail();
    }

    void box(std::int8_t& box) {
        i8(box);
        check(isBox(box));
    }
    void number(CardRef& card);
    void whole(CardRef& card);
    void at(CardRef& card, End end, int box);

private:
    ByteReader& in_;
    const CardBoxes* deck_ = nullptr;
    CardNumbers* numbers_ = nullptr;
};

// --- The descriptions: each value in the order of the bytes. ---

template <class Io, class Time, class Box>
void describeTime(Io& io, Time& time, Box& box) {
    io.i32(time.day);
    io.u16(time.minute);
    io.i8(box);
}

template <class Io, class Header>
void describeHeader(Io& io, Header& header) {
    io.expect(EntryType::header);
    io.expect(formatVersion);
    io.text(header.cardFile);
    io.flag(header.identity.exists);
    io.u64(header.identity.stamp.size);
    io.u64(header.identity.stamp.writeTime);
    io.u64(header.identity.stamp.takenAt);
    io.hash(header.identity.hash);
    io.u64(header.baseSize);
    io.u64(header.baseHash);
    io.u32(header.changes);
    describeTime(io, header.time, header.box);
}

template <class Io, class Card>
void describeCard(Io& io, Card& card) {
    io.u32(card.number);
    io.text(card.mark);
    io.i32(card.section);
    io.i32(card.day);
    io.text(card.question);
    io.text(card.answer);
    io.text(card.info);
}

// The fields of each kind of change after its code and direction. A card the
// deck holds is named by its number, or by where it lies when the change itself
// puts it there; a card the change brings into the deck comes whole.
template <class Io, class Change>
void describeChange(Io& io, Change& change, bool forward) {
    switch (change.kind) {
        case Kind::moved:  // the front of `box` to the back of `toBox`
            io.box(change.box);
            io.box(change.toBox);
            io.i32(change.before);
            forward ? io.at(change.card, End::front, change.box)
                    : io.at(change.card, End::back, change.toBox);
            return;
        case Kind::turned:
            io.box(change.box);
            io.i32(change.before);
            return;
        case Kind::inserted:
            io.box(change.box);
            io.i32(change.before);
            forward ? io.whole(change.card) : io.at(change.card, End::front, change.box);
            return;
        case Kind::removed:
            io.box(change.box);
            forward ? io.at(change.card, End::front, change.box) : io.whole(change.card);
            return;
        case Kind::marked:
            io.number(change.card);
            io.text(change.markBefore);
            io.text(change.markAfter);
            return;
        case Kind::dated:
            io.number(change.card);
            io.i32(change.before);
            io.i32(change.after);
            return;
        case Kind::tallied:  // `box` names the count (a Tally), `before` the day
            io.i8(change.box);
            io.check(change.box >= 0 && change.box <= static_cast<int>(Tally::drawn));
            io.i32(change.before);
            return;
        case Kind::flagged:  // the dialog's has-a-card flag, which no card file holds
            io.check(false);
            return;
    }
}

// A card's new texts, under the code after the kinds.
template <class Io, class CardRefT, class Text>
void describeTexts(Io& io, CardRefT& card, Text& question, Text& answer, Text& info) {
    io.number(card);
    io.text(question);
    io.text(answer);
    io.text(info);
}

void Writer::number(const CardRef& card) {
    const std::optional<std::uint32_t> number = numbers_->numberOf(*card);
    *complete_ = *complete_ && number.has_value();
    u32(number.value_or(0));
}

void Writer::whole(const CardRef& card) {
    const WholeCard whole{numbers_->numberNew(card),
                          std::string(card->getMark()),
                          card->getSection(),
                          card->getDay(),
                          std::string(card->getQuestion()),
                          std::string(card->getAnswer()),
                          std::string(card->getInfo())};
    describeCard(*this, whole);
}

void Reader::number(CardRef& card) {
    std::uint32_t number = 0;
    u32(number);
    card = in_.ok() ? numbers_->card(number) : nullptr;
    check(card != nullptr);
}

void Reader::whole(CardRef& card) {
    WholeCard whole;
    describeCard(*this, whole);
    card = nullptr;
    if (in_.ok()) {
        card = std::make_shared<Card>(whole.mark, whole.section, 0, whole.question, whole.answer,
                                      whole.info);
        card->setDay(whole.day);
        numbers_->numberAs(card, whole.number);
    }
}

void Reader::at(CardRef& card, End end, int box) {
    const bool found = in_.ok() && isBox(box) && deck_->count(box) > 0;
    card = !found ? nullptr : end == End::front ? deck_->box(box).front() : deck_->box(box).back();
    check(card != nullptr);
}

}  // namespace

std::string headerPayload(const RecordHeader& header) {
    std::string payload;
    Writer out(payload);
    describeHeader(out, header);
    return payload;
}

std::optional<RecordHeader> parseHeader(std::string_view payload) {
    ByteReader bytes(payload);
    Reader in(bytes);
    RecordHeader header;
    describeHeader(in, header);
    if (!bytes.ok()) return std::nullopt;
    return header;
}

namespace {

EntryHead readHead(ByteReader& bytes) {
    Reader in(bytes);
    EntryHead head;
    in.u8(head.type);
    describeTime(in, head.time, head.box);
    return head;
}

}  // namespace

std::optional<EntryHead> readEntryHead(std::string_view payload) {
    ByteReader bytes(payload);
    const EntryHead head = readHead(bytes);
    if (!bytes.ok()) return std::nullopt;
    return head;
}

EntryReader::EntryReader(std::string_view payload, const CardBoxes& deck, CardNumbers& numbers)
    : in_(payload), deck_(deck), numbers_(numbers), head_(readHead(in_)) {}

bool EntryReader::next(ReadChange& out) {
    Reader in(in_, deck_, numbers_);
    std::uint8_t code = 0;
    in.u8(code);
    in.flag(out.forward);
    if (code == textsCode) {
        out.texts = true;
        describeTexts(in, out.change.card, out.question, out.answer, out.info);
    } else {
        in.check(code <= static_cast<std::uint8_t>(Kind::tallied));
        out.change.kind = static_cast<Kind>(code);
        if (in_.ok()) describeChange(in, out.change, out.forward);
    }
    return in_.ok();
}

RecordEntry::RecordEntry(CardNumbers& numbers, bool counts, LocalTime time, int box)
    : numbers_(numbers) {
    Writer out(payload_);
    out.u8(counts ? EntryType::change : EntryType::navigation);
    describeTime(out, time, box);
}

void RecordEntry::add(const DeckChange& change, bool forward) {
    if (change.kind == Kind::flagged) return;
    Writer out(payload_, numbers_, complete_);
    out.u8(change.kind);
    out.flag(forward);
    describeChange(out, change, forward);
    ++changes_;
}

void RecordEntry::addTexts(const CardRef& card) {
    Writer out(payload_, numbers_, complete_);
    out.u8(textsCode);
    out.flag(true);
    const std::string question(card->getQuestion()), answer(card->getAnswer()),
        info(card->getInfo());
    describeTexts(out, card, question, answer, info);
    ++changes_;
}

std::string RecordEntry::framed() const { return frame(payload_); }
