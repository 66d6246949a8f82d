#include "cardfile/CardWriter.h"

#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "cardfile/CardFormat.h"
#include "cardfile/CardSave.h"
#include "cardfile/FileIdentity.h"
#include "cardfile/HistoryBlock.h"
#include "platform/TextCoding.h"

namespace {

constexpr std::size_t dayBytes = 10;  // YYYY-MM-DD

// Decimal digits of an int32, sign included: 11 at most.
class Decimal {
public:
    explicit Decimal(std::int32_t value)
        : size_(static_cast<std::size_t>(
              std::to_chars(digits_.data(), digits_.data() + digits_.size(), value).ptr -
              digits_.data())) {}
    std::string_view text() const { return {digits_.data(), size_}; }

private:
    std::array<char, 11> digits_{};
    std::size_t size_;
};

// A card's values in the written order: nothing for an optional field it lacks.
// Mark and number come from the position in the box, not from the card, so the
// file always leads each box with its current card. A text nobody set since it
// was read from a file of the kind written goes as that file held it: a code page
// 1252 deck is then written without converting it.
class CardValues {
public:
    // Only sized: the day's digits are not worked out.
    enum class Use { size, write };

    CardValues(const Card& card, std::int32_t position, CardEncoding encoding, Use use)
        : section_(card.getSection()),
          number_(position),
          encoding_(encoding),
          values_(valuesOf(card, position, std::make_index_sequence<cardFieldCount>())) {
        if (use == Use::write && card.getDay() != noDay) {
            writeDay(day_.data(), card.getDay());
        }
    }
    const std::optional<std::string_view>& operator[](std::size_t at) const { return values_[at]; }
    // The value is UTF-8 that the file wants in code page 1252.
    bool narrows(std::size_t at) const { return (narrow_ >> at & 1u) != 0; }

private:
    using Values = std::array<std::optional<std::string_view>, cardFieldCount>;

    // Each value made where it stays: the array cleared first and filled afterwards
    // measured slower for every kind of deck.
    template <std::size_t... at>
    Values valuesOf(const Card& card, std::int32_t position, std::index_sequence<at...>) {
        return {{valueOf(at, card, position)...}};
    }
    std::optional<std::string_view> valueOf(std::size_t at, const Card& card,
                                            std::int32_t position) {
        switch (cardFields[at].field) {
            case CardField::mark:
                return position == 1 ? leadMark : otherMark;
            case CardField::section:
                return section_.text();
            case CardField::number:
                return number_.text();
            case CardField::question:
                return textOf(at, card, CardTextField::question);
            case CardField::answer:
                return textOf(at, card, CardTextField::answer);
            case CardField::info:
                return textOf(at, card, CardTextField::info);
            case CardField::day:
                // Only a card that has a day writes one, so older decks save as they were read.
                if (card.getDay() == noDay) {
                    return std::nullopt;
                }
                return std::string_view(day_.data(), day_.size());
        }
        return std::nullopt;
    }
    // Asking the card for the bytes it was read from decodes nothing: a card nobody
    // looked at is written without its texts ever being decoded.
    std::string_view textOf(std::size_t at, const Card& card, CardTextField field) {
        if (encoding_ == CardEncoding::cp1252) {
            if (const auto asRead = card.fileBytesOf(field, encoding_)) {
                return *asRead;
            }
            narrow_ |= 1u << at;
        }
        return card.getText(field);
    }

    Decimal section_;
    Decimal number_;
    // Not cleared: only a card with a day reads it.
    std::array<char, dayBytes> day_;
    // Before the values, which set them.
    CardEncoding encoding_;
    unsigned narrow_ = 0;
    Values values_;
};

// Visits the values and the runs of tags of the card's block in the order they
// are written.
template <typename Value, typename Tags>
void forEachPiece(const CardValues& values, Value value, Tags tags) {
    tags(writtenOpen);
    for (std::size_t field = 0; field < cardFieldCount;) {
        value(*values[field], values.narrows(field));
        std::size_t next = field + 1;
        while (next < cardFieldCount && !values[next]) {
            ++next;
        }
        tags(writtenJoins[field][next].run);
        field = next;
    }
    value(writtenBlockEnd, false);
}

std::size_t blockBytes(const CardValues& values) {
    std::size_t size = 0;
    forEachPiece(
        values, [&size](std::string_view piece, bool) { size += piece.size(); },
        [&size](const TagRun& run) { size += run.size(); });
    return size;
}

// Gathers the pieces of blocks, card after card, to append them a buffer at a
// time: each append costs more than the bytes of a piece, and a run of tags is
// copied as one word of 16 bytes. Only a value longer than the buffer is appended
// as it is. A value that a code page 1252 file wants converted is converted on its
// way in.
class PieceBuffer {
public:
    explicit PieceBuffer(std::string& text) : text_(text) {}
    ~PieceBuffer() { flush(); }

    void tags(const TagRun& run) {
        makeRoom(wordBytes);
        std::memcpy(bytes_.data() + used_, run.view().data(), wordBytes);
        used_ += run.size();
    }
    void value(std::string_view piece, bool narrow) {
        if (narrow) {
            narrowed(piece);
        } else if (piece.size() <= bufferBytes) {
            makeRoom(piece.size());
            std::memcpy(bytes_.data() + used_, piece.data(), piece.size());
            used_ += piece.size();
        } else {
            flush();
            text_.append(piece.data(), piece.size());
        }
    }
    std::size_t pending() const { return used_; }
    void flush() {
        text_.append(bytes_.data(), used_);
        used_ = 0;
    }

private:
    static constexpr std::size_t wordBytes = 16;
    static constexpr std::size_t bufferBytes = 4096;

    void makeRoom(std::size_t bytes) {
        if (used_ + bytes > bufferBytes) {
            flush();
        }
    }
    // Never longer than the UTF-8.
    void narrowed(std::string_view piece) {
        makeRoom(piece.size());
        if (piece.size() <= bufferBytes) {
            char* const at = bytes_.data() + used_;
            used_ += static_cast<std::size_t>(narrowUtf8ToCp1252(piece, at) - at);
            return;
        }
        const std::size_t start = text_.size();
        text_.resize(start + piece.size() + narrowSlackBytes);
        char* const at = text_.data() + start;
        text_.resize(start + static_cast<std::size_t>(narrowUtf8ToCp1252(piece, at) - at));
    }

    std::string& text_;
    std::array<char, bufferBytes + narrowSlackBytes> bytes_;
    std::size_t used_ = 0;
};

static_assert(
    [] {
        for (const auto& joins : writtenJoins) {
            for (const WrittenJoin& join : joins) {
                if (join.run.size() > 16) return false;
            }
        }
        return writtenOpen.size() <= 16;
    }(),
    "every run of tags is copied as one word");

void appendCard(PieceBuffer& buffer, const Card& card, std::int32_t position,
                CardEncoding encoding) {
    forEachPiece(
        CardValues(card, position, encoding, CardValues::Use::write),
        [&buffer](std::string_view piece, bool narrow) { buffer.value(piece, narrow); },
        [&buffer](const TagRun& run) { buffer.tags(run); });
}

std::size_t cardBytes(const Card& card, std::int32_t position, CardEncoding encoding) {
    return blockBytes(CardValues(card, position, encoding, CardValues::Use::size));
}

std::string_view headOfFile(CardEncoding encoding) {
    return encoding == CardEncoding::utf8 ? utf8ByteOrderMark : std::string_view();
}

template <typename Visit>
void forEachCard(const CardBoxes& deck, Visit visit) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        std::int32_t position = 1;
        for (const CardRef& card : deck.box(box)) {
            visit(*card, position);
            ++position;
        }
    }
}

// A deck without cards writes no history either: a file without a card block
// would make the reader ask whether to go on.
std::string historyToWrite(const CardBoxes& deck) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        if (!deck.box(box).empty()) {
            return historyBlockText(deck.history());
        }
    }
    return {};
}

}  // namespace

CardEncoding savedEncoding(const CardBoxes& deck) {
    if (deck.encoding() == CardEncoding::utf8) {
        return CardEncoding::utf8;
    }
    bool fits = true;
    forEachCard(deck, [&fits](const Card& card, std::int32_t) {
        for (const CardTextField field :
             {CardTextField::question, CardTextField::answer, CardTextField::info}) {
            // A text still as a code page 1252 file held it fits.
            fits = fits && (card.fileBytesOf(field, CardEncoding::cp1252) ||
                            fitsCp1252(card.getText(field)));
        }
    });
    return fits ? CardEncoding::cp1252 : CardEncoding::utf8;
}

std::string composeCardText(const CardBoxes& deck) {
    return composeCardText(deck, savedEncoding(deck));
}

// A code page 1252 save was chosen because every text fits; should one not, its
// UTF-8 bytes are better than losing it.
std::string composeCardText(const CardBoxes& deck, CardEncoding encoding) {
    // Sized first, so the text is written once into memory that never moves. Code
    // page 1252 takes no more bytes than UTF-8.
    std::size_t size = headOfFile(encoding).size();
    forEachCard(deck, [&size, encoding](const Card& card, std::int32_t position) {
        size += cardBytes(card, position, encoding);
    });
    const std::string history = historyToWrite(deck);
    std::string text;
    // A long text is converted in the text itself, with room behind it.
    text.reserve(size + history.size() + narrowSlackBytes);
    text.append(headOfFile(encoding));
    {
        PieceBuffer buffer(text);
        forEachCard(deck, [&buffer, encoding](const Card& card, std::int32_t position) {
            appendCard(buffer, card, position, encoding);
        });
    }
    // ASCII: the same bytes in either kind of file.
    text += history;
    return text;
}

bool composeCardTextInPieces(const CardBoxes& deck, CardEncoding encoding, const PieceTaker& take) {
    std::string piece;
    piece.reserve(cardTextPieceBytes);
    piece.append(headOfFile(encoding));
    bool going = true;
    {
        PieceBuffer buffer(piece);
        forEachCard(deck, [&](const Card& card, std::int32_t position) {
            if (going) {
                appendCard(buffer, card, position, encoding);
                if (piece.size() + buffer.pending() >= cardTextPieceBytes) {
                    buffer.flush();
                    going = take(piece);
                    piece.clear();
                }
            }
        });
    }
    piece += historyToWrite(deck);
    return going && (piece.empty() || take(piece));
}

bool writeDeckToFile(CardBoxes& deck, const std::string& fileName, FileSystem& files,
                     MessageBoxes& boxes, std::uint64_t* hash) {
    const CardEncoding encoding = savedEncoding(deck);
    // Every pass gives the same text, so the last one whole gives its hash.
    std::uint64_t lastHash = 0;
    const bool saved = saveCardText(
        [&deck, encoding, &lastHash](const PieceTaker& take) {
            ContentHash passHash;
            const bool whole =
                composeCardTextInPieces(deck, encoding, [&](const std::string& piece) {
                    passHash.add(piece);
                    return take(piece);
                });
            if (whole) lastHash = passHash.value();
            return whole;
        },
        fileName, files, boxes);
    // Once UTF-8, the file stays UTF-8, even if the card that made it so goes.
    if (saved) {
        deck.setEncoding(encoding);
        if (hash) *hash = lastHash;
    }
    return saved;
}
