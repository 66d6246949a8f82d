// Feeds arbitrary bytes to the card reader and checks that it gives what the
// plainly written reference reader gives (the same deck, the same boxes), what
// must hold for any deck it makes, and that a deck written by the writer reads
// back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cardfile/BlockScanner.h"
#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "model/CardBoxes.h"
#include "platform/MessageBoxes.h"
#include "platform/WinConstants.h"
#include "reference/ReferenceReader.h"

namespace {

class ScriptedBoxes : public MessageBoxes {
public:
    explicit ScriptedBoxes(bool goOn) : goOn_(goOn) {}

    int show(WindowRef /*owner*/, const std::string& text, const char* caption,
             unsigned type) override {
        shown += text + " | " + (caption != nullptr ? caption : "-") + " | " +
                 std::to_string(type) + "\n";
        if ((type & 0x0Fu) == MB_YESNO && caption != nullptr &&
            std::string_view(caption) == "Overwrite?") {
            ++questions;
            return goOn_ ? IDYES : IDNO;
        }
        ++notices;
        return IDOK;
    }

    int questions = 0;
    int notices = 0;
    std::string shown;

private:
    bool goOn_;
};

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "card reader invariant broken: %s\n", what);
        std::abort();
    }
}

// A box of the reader is sorted by number and then turned to lead with its first
// "+" card: a rotation of an ascending run, led by "+" whenever it holds one.
void checkLearningBox(const CardBoxes::Box& cards) {
    if (cards.size() < 2) {
        return;
    }
    std::size_t descents = 0;
    bool anyLead = false;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        anyLead = anyLead || cards[i]->getMark() == "+";
        if (i + 1 < cards.size() && cards[i]->getNumber() > cards[i + 1]->getNumber()) {
            ++descents;
        }
    }
    check(
        descents == 0 || (descents == 1 && cards.back()->getNumber() <= cards.front()->getNumber()),
        "a box is a rotation of its cards ordered by number");
    check(!anyLead || cards.front()->getMark() == "+", "a box with a + card leads with one");
}

bool textsHoldATag(const CardBoxes& deck) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        for (const CardRef& card : deck.box(box)) {
            for (const std::string_view text :
                 {card->getQuestion(), card->getAnswer(), card->getInfo()}) {
                if (text.find('<') != std::string_view::npos) {
                    return true;
                }
            }
        }
    }
    return false;
}

bool sameBoxes(const CardBoxes& a, const CardBoxes& b) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        if (a.count(box) != b.count(box)) {
            return false;
        }
        for (int i = 0; i < a.count(box); ++i) {
            const Card& x = *a.box(box)[static_cast<std::size_t>(i)];
            const Card& y = *b.box(box)[static_cast<std::size_t>(i)];
            if (x.getSection() != y.getSection() || x.getQuestion() != y.getQuestion() ||
                x.getAnswer() != y.getAnswer() || x.getInfo() != y.getInfo()) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Scanned straight in the fuzzer's buffer, so any read past the text is caught.
    for (BlockScanner scanner(text); !scanner.nextBlocks().empty();) {
    }
    // Both answers to the reader's question, and both ways of handing over the
    // text, chosen by the input itself.
    const bool goOn = size % 2 == 0;
    ScriptedBoxes boxes(goOn);
    CardBoxes deck;
    if (size % 4 < 2) {
        readCardText(deck, text, boxes);
    } else {
        readCardText(deck, std::string(text), boxes);
    }

    ScriptedBoxes referenceBoxes(goOn);
    CardBoxes reference;
    referenceReadCardText(reference, text, referenceBoxes);
    const std::string got = describeDeck(deck);
    const std::string expected = describeDeck(reference);
    if (got != expected || boxes.shown != referenceBoxes.shown) {
        std::fprintf(stderr, "reader:\n%s%s\nreference reader:\n%s%s\n", got.c_str(),
                     boxes.shown.c_str(), expected.c_str(), referenceBoxes.shown.c_str());
        check(false, "the reader gives what the reference reader gives");
    }

    int cards = 0;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        cards += deck.count(box);
        for (const CardRef& card : deck.box(box)) {
            check(card->getSection() == box, "every card lies in the box of its section");
            check(card->isInit() == 1, "read cards are initialised");
        }
        if (box > 0) {
            checkLearningBox(deck.box(box));
        }
    }
    check(cards >= 1 && deck.hasCards() == 1, "the reader always makes a card");
    check(deck.isAborted() == ((boxes.questions > 0 && !goOn) ? 1 : 0),
          "aborted exactly when the user said No");

    if (textsHoldATag(deck)) {
        return 0;  // the format has no escape: such a deck cannot come back the same
    }
    const std::string written = composeCardText(deck);
    ScriptedBoxes quiet(false);
    CardBoxes reread;
    readCardText(reread, written, quiet);
    check(quiet.questions == 0 && quiet.notices == 0, "a written deck reads without a box");
    check(sameBoxes(deck, reread), "a written deck reads back into the same boxes");
    check(composeCardText(reread) == written, "writing a reread deck gives the same bytes");
    return 0;
}
