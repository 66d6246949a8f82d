#include "cardfile/CardWriter.h"

#include <array>
#include <charconv>
#include <string_view>

#include "cardfile/CardFile.h"
#include "cardfile/CardSave.h"

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

void appendCard(std::string& text, const Card& card, std::int32_t position) {
    const Decimal section(card.getSection());
    const Decimal number(position);
    for (const std::string_view piece :
         {headAt(position), section.text(), beforeNumber, number.text(), beforeQuestion,
          card.getQuestion(), beforeAnswer, card.getAnswer(), beforeInfo, card.getInfo(),
          afterInfo}) {
        text.append(piece.data(), piece.size());
    }
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

}  // namespace

std::string composeCardText(const CardBoxes& deck) {
    // Sized first, so the text is written once into memory that never moves.
    std::size_t size = 0;
    forEachCard(deck, [&size](const Card& card, std::int32_t position) {
        size += tagBytes + decimalSize(card.getSection()) + decimalSize(position) +
                card.getQuestion().size() + card.getAnswer().size() + card.getInfo().size();
    });
    std::string text;
    text.reserve(size);
    forEachCard(deck, [&text](const Card& card, std::int32_t position) {
        appendCard(text, card, position);
    });
    return text;
}

bool composeCardTextInPieces(const CardBoxes& deck, const PieceTaker& take) {
    std::string piece;
    piece.reserve(cardTextPieceBytes);
    bool going = true;
    forEachCard(deck, [&](const Card& card, std::int32_t position) {
        if (going) {
            appendCard(piece, card, position);
            if (piece.size() >= cardTextPieceBytes) {
                going = take(piece);
                piece.clear();
            }
        }
    });
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

bool writeDeckToFile(const CardBoxes& deck, const std::string& fileName, FileSystem& files,
                     MessageBoxes& boxes) {
    return saveCardText(
        [&deck](const PieceTaker& take) { return composeCardTextInPieces(deck, take); }, fileName,
        files, boxes);
}

bool writeCardFile(const CardFile& cardFile, FileSystem& files, MessageBoxes& boxes) {
    const std::optional<std::string>& fileName = cardFile.fileName();
    if (cardFile.hasFile() == 0 || !fileName || fileName->empty() || cardFile.deck() == nullptr) {
        return false;
    }
    return writeDeckToFile(*cardFile.deck(), *fileName, files, boxes);
}
