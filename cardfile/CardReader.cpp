#include "cardfile/CardReader.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "cardfile/CardText.h"
#include "platform/WinConstants.h"

namespace {

const char* const overwriteText =
    "Couldn't find a card.If you proceed the file willbe over written. Please ensureyou're "
    "using a right file!";
const char* const overwriteCaption = "Overwrite?";
const char* const sectionText = "Invalid section number found! Set number to section 1!";
const std::string leadMark = "+";

// Overlapping blocks that lack a field of their own all take the same later
// occurrence of it; they share that one text rather than copy it once per card,
// which for a damaged file could mean more copies than memory holds.
class FieldTexts {
public:
    explicit FieldTexts(std::string_view fallback) : fallback_(makeText(std::string(fallback))) {}

    SharedText take(const std::optional<std::string_view>& value) {
        if (!value) {
            return fallback_;
        }
        if (value->data() != last_.data() || value->size() != last_.size() || !lastText_) {
            last_ = *value;
            lastText_ = makeText(std::string(*value));
        }
        return lastText_;
    }

private:
    SharedText fallback_;
    std::string_view last_;
    SharedText lastText_;
};

// Orders the boxes the way they were saved: by number, then led by the "+" card.
// Box 0 keeps the file order, since its cards were never drawn.
void orderLearningBoxes(CardBoxes& deck) {
    for (int box = 1; box <= CardBoxes::lastBox; ++box) {
        CardBoxes::Box& cards = deck.boxForReading(box);
        if (cards.size() < 2) {
            continue;
        }
        std::stable_sort(cards.begin(), cards.end(), [](const CardRef& a, const CardRef& b) {
            return a->getNumber() < b->getNumber();
        });
        const auto lead = std::find_if(cards.begin(), cards.end(), [](const CardRef& card) {
            return card->getMark() == leadMark;
        });
        if (lead != cards.end()) {
            std::rotate(cards.begin(), lead, cards.end());
        }
    }
}

}  // namespace

void readCardText(CardBoxes& deck, std::string_view text, MessageBoxes& boxes) {
    deck.setAborted(0);
    CardText cardText(text);
    // A damaged file can lack the end of every block from some point on; the user
    // decides once whether to go on, and that answer stands for the whole file.
    bool asked = false;
    // Hundreds of bad sections would otherwise mean hundreds of modal boxes.
    bool sectionReported = false;
    FieldTexts marks("-");
    FieldTexts questions("");
    FieldTexts infos("");
    FieldTexts answers("");
    std::size_t scan = 0;
    CardBlock block;
    bool another = true;
    while (another) {
        another = cardText.nextCardBlock(scan, block);
        SharedText mark = marks.take(cardText.fieldValue(block, cardfield::mark));
        const auto sectionValue = cardText.fieldValue(block, cardfield::section);
        const auto numberValue = cardText.fieldValue(block, cardfield::number);
        SharedText question = questions.take(cardText.fieldValue(block, cardfield::question));
        SharedText info = infos.take(cardText.fieldValue(block, cardfield::info));
        SharedText answer = answers.take(cardText.fieldValue(block, cardfield::answer));

        if (!block.found && !asked) {
            asked = true;
            const unsigned type = static_cast<unsigned>(MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2);
            if (boxes.show(noWindow, overwriteText, overwriteCaption, type) == IDNO) {
                deck.setAborted(1);
            }
        }

        std::int32_t section = sectionValue ? readInteger(*sectionValue) : 0;
        if (section < 0 || section > CardBoxes::lastBox) {
            if (!sectionReported) {
                sectionReported = true;
                boxes.show(noWindow, sectionText, nullptr, static_cast<unsigned>(MB_OK));
            }
            section = 1;
        }
        const std::int32_t number = numberValue ? readInteger(*numberValue) : 0;
        deck.boxForReading(section).push_back(
            std::make_shared<Card>(std::move(mark), section, number, std::move(question),
                                   std::move(answer), std::move(info)));
    }

    bool anyCard = false;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        anyCard = anyCard || !deck.boxForReading(box).empty();
    }
    deck.setHasCards(anyCard ? 1 : 0);
    orderLearningBoxes(deck);
}
