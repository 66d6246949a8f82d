#include "cardfile/CardWriter.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

#include "cardfile/CardSave.h"
#include "cardfile/FileIdentity.h"
#include "cardfile/HistoryBlock.h"
#include "platform/TextCoding.h"

namespace {

// What the writer puts between a card's values, in the order it writes them. The
// mark is part of the first piece: it is "+" or "-" by position.
constexpr std::string_view leadHead = "<C>\r\n<M>+</M>\r\n<S>";
constexpr std::string_view otherHead = "<C>\r\n<M>-</M>\r\n<S>";
constexpr std::string_view beforeNumber = "</S>\r\n<N>";
constexpr std::string_view beforeQuestion = "</N>\r\n<Q>";
constexpr std::string_view beforeAnswer = "</Q>\r\n<A>";
constexpr std::string_view beforeInfo = "</A>\r\n<I>";
constexpr std::string_view afterInfo = "</I>\r\n</C>\r\n";
constexpr std::string_view beforeDay = "</I>\r\n<D>";
constexpr std::string_view afterDay = "</D>\r\n</C>\r\n";
constexpr std::size_t dayBytes = beforeDay.size() + 10 + afterDay.size() - afterInfo.size();
constexpr std::size_t tagBytes = leadHead.size() + beforeNumber.size() + beforeQuestion.size() +
                                 beforeAnswer.size() + beforeInfo.size() + afterInfo.size();

// How many characters the decimal form of `value` takes, sign included.
std::size_t decimalSize(std::int32_t value) {
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    std::size_t size = value < 0 ? 2 : 1;
    for (; magnitude >= 10; magnitude /= 10) {
        ++size;
    }
    return size;
}

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

// Mark and number come from the position in the box, not from the card, so the
// file always leads each box with its current card.
std::string_view headAt(std::int32_t position) { return position == 1 ? leadHead : otherHead; }

// Appends the card in UTF-8, as the deck holds it; a code page 1252 save converts
// whole stretches of cards afterwards, which costs less than text by text.
void appendCard(std::string& text, const Card& card, std::int32_t position) {
    const Decimal section(card.getSection());
    const Decimal number(position);
    for (const std::string_view piece :
         {headAt(position), section.text(), beforeNumber, number.text(), beforeQuestion,
          card.getQuestion(), beforeAnswer, card.getAnswer(), beforeInfo, card.getInfo()}) {
        text.append(piece.data(), piece.size());
    }
    // Only a card that has a day writes one, so older decks save as they were read.
    if (card.getDay() == noDay) {
        text.append(afterInfo.data(), afterInfo.size());
        return;
    }
    // Put together first and appended once: each append costs more than its bytes.
    std::array<char, beforeDay.size() + 10 + afterDay.size()> tail;
    std::memcpy(tail.data(), beforeDay.data(), beforeDay.size());
    writeDay(tail.data() + beforeDay.size(), card.getDay());
    std::memcpy(tail.data() + beforeDay.size() + 10, afterDay.data(), afterDay.size());
    text.append(tail.data(), tail.size());
}

// A code page 1252 save was chosen because every text fits; should one not, its
// UTF-8 bytes are better than losing it.
void encodeFrom(std::string& text, std::size_t from, CardEncoding encoding) {
    if (encoding == CardEncoding::cp1252) {
        convertUtf8ToCp1252(text, from);
    }
}

// Converted in stretches of this size, while the new bytes are still in the cache.
constexpr std::size_t encodeStretchBytes = 64 * 1024;

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
        // A card still holding the texts read from a code page 1252 file fits.
        fits = fits && (card.keepsFirstTexts() ||
                        (fitsCp1252(card.getQuestion()) && fitsCp1252(card.getAnswer()) &&
                         fitsCp1252(card.getInfo())));
    });
    return fits ? CardEncoding::cp1252 : CardEncoding::utf8;
}

std::string composeCardText(const CardBoxes& deck) {
    return composeCardText(deck, savedEncoding(deck));
}

std::string composeCardText(const CardBoxes& deck, CardEncoding encoding) {
    // Sized first, so the text is written once into memory that never moves. Code
    // page 1252 takes no more bytes than UTF-8.
    std::size_t size = headOfFile(encoding).size();
    forEachCard(deck, [&size](const Card& card, std::int32_t position) {
        size += tagBytes + decimalSize(card.getSection()) + decimalSize(position) +
                card.getQuestion().size() + card.getAnswer().size() + card.getInfo().size() +
                (card.getDay() == noDay ? 0 : dayBytes);
    });
    const std::string history = historyToWrite(deck);
    std::string text;
    text.reserve(size + history.size());
    text.append(headOfFile(encoding));
    std::size_t encoded = text.size();
    forEachCard(deck, [&](const Card& card, std::int32_t position) {
        appendCard(text, card, position);
        if (text.size() - encoded >= encodeStretchBytes) {
            encodeFrom(text, encoded, encoding);
            encoded = text.size();
        }
    });
    encodeFrom(text, encoded, encoding);
    // ASCII: the same bytes in either kind of file.
    text += history;
    return text;
}

bool composeCardTextInPieces(const CardBoxes& deck, CardEncoding encoding, const PieceTaker& take) {
    std::string piece;
    piece.reserve(cardTextPieceBytes);
    piece.append(headOfFile(encoding));
    bool going = true;
    forEachCard(deck, [&](const Card& card, std::int32_t position) {
        if (going) {
            appendCard(piece, card, position);
            if (piece.size() >= cardTextPieceBytes) {
                encodeFrom(piece, 0, encoding);
                going = take(piece);
                piece.clear();
            }
        }
    });
    encodeFrom(piece, 0, encoding);
    piece += historyToWrite(deck);
    return going && (piece.empty() || take(piece));
}

std::unique_ptr<OutputFile> CreateFileHandle(const std::string& path, FileSystem& files,
                                             MessageBoxes& boxes) {
    ErrorCode error = 0;
    std::unique_ptr<OutputFile> file = files.createForWriting(path, error);
    if (!file) {
        reportCreateFailure(error, boxes);
    }
    return file;
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
