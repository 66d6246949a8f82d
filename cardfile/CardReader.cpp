#include "cardfile/CardReader.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "cardfile/BlockScanner.h"
#include "cardfile/CardFileText.h"
#include "cardfile/CardFormat.h"
#include "cardfile/CardText.h"
#include "cardfile/HistoryBlock.h"
#include "platform/WinConstants.h"

namespace {

const char* const overwriteText =
    "Couldn't find a card.If you proceed the file willbe over written. Please ensureyou're "
    "using a right file!";
const char* const overwriteCaption = "Overwrite?";
const char* const sectionText = "Invalid section number found! Set number to section 1!";

// Orders the boxes the way they were saved: by number, then led by the "+" card.
// Box 0 keeps the file order, since its cards were never drawn.
void orderLearningBoxes(CardBoxes& deck) {
    const auto byNumber = [](const CardRef& a, const CardRef& b) {
        return a->getNumber() < b->getNumber();
    };
    for (int box = 1; box <= CardBoxes::lastBox; ++box) {
        CardBoxes::Box& cards = deck.boxForReading(box);
        if (cards.size() < 2) {
            continue;
        }
        // A saved deck is in order already, and a stable sort would not move it.
        if (!std::is_sorted(cards.begin(), cards.end(), byNumber)) {
            std::stable_sort(cards.begin(), cards.end(), byNumber);
        }
        const auto lead = std::find_if(cards.begin(), cards.end(), [](const CardRef& card) {
            return card->getMark() == leadMark;
        });
        if (lead != cards.end()) {
            std::rotate(cards.begin(), lead, cards.end());
        }
    }
}

void readCards(CardBoxes& deck, const CardSource& source, MessageBoxes& boxes) {
    deck.setAborted(0);
    // A damaged file can lack the end of every block from some point on; the user
    // decides once whether to go on, and that answer stands for the whole file.
    bool asked = false;
    // Hundreds of bad sections would otherwise mean hundreds of modal boxes.
    bool sectionReported = false;
    BlockScanner scanner(source->fileBytes());
    for (;;) {
        const std::vector<ScannedBlock>& blocks = scanner.nextBlocks();
        if (blocks.empty()) {
            break;
        }
        for (const ScannedBlock& block : blocks) {
            if (!block.found && !asked) {
                asked = true;
                const auto type = static_cast<unsigned>(MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2);
                if (boxes.show(noWindow, overwriteText, overwriteCaption, type) == IDNO) {
                    deck.setAborted(1);
                }
            }
            const std::int32_t section = readInteger(block.value(CardField::section));
            if (!isBoxSection(section) && !sectionReported) {
                sectionReported = true;
                boxes.show(noWindow, sectionText, nullptr, static_cast<unsigned>(MB_OK));
            }
            const std::int32_t box = boxOfSection(section);
            auto card = std::make_shared<Card>(
                source, block.value(CardField::mark), box,
                readInteger(block.value(CardField::number)), block.value(CardField::question),
                block.value(CardField::answer), block.value(CardField::info));
            // A day that is no date is as good as none: the card counts as due.
            if (const auto& day = block.field(CardField::day)) {
                card->setDay(parseDay(*day).value_or(noDay));
            }
            deck.boxForReading(box).push_back(std::move(card));
        }
    }

    bool anyCard = false;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        anyCard = anyCard || !deck.boxForReading(box).empty();
    }
    deck.setHasCards(anyCard ? 1 : 0);
    orderLearningBoxes(deck);
    readHistoryBlock(source->fileBytes(), deck.historyForReading());
}

}  // namespace

void readCardText(CardBoxes& deck, std::string_view text, MessageBoxes& boxes) {
    readCards(deck,
              std::make_shared<CardSourceText>(std::string(cardTextOf(text)), CardEncoding::utf8),
              boxes);
}

void readCardText(CardBoxes& deck, std::string&& text, MessageBoxes& boxes) {
    // Kept whole: the scanner ends the text at its first NUL, and cutting it here
    // too would search the whole text for one twice.
    readCards(deck, std::make_shared<CardSourceText>(std::move(text), CardEncoding::utf8), boxes);
}

void readCardText(CardBoxes& deck, const char* text, MessageBoxes& boxes) {
    readCardText(deck, std::string_view(text), boxes);
}

void readCardFile(CardBoxes& deck, CardFileText&& file, MessageBoxes& boxes) {
    readCards(deck, std::make_shared<CardSourceText>(std::move(file.bytes), file.encoding), boxes);
    deck.setEncoding(file.encoding);
}

void readCardFileBytes(CardBoxes& deck, std::string_view bytes, MessageBoxes& boxes) {
    readCardFile(deck, cardFileText(bytes), boxes);
}
