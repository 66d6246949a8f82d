// Feeds arbitrary bytes as a card file to the card reader and checks that it gives
// what the plainly written reference reader gives (the same deck, kind and boxes),
// what must hold for any deck it makes, and that a deck written by the writer, in
// either kind, reads back the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "cardfile/BlockScanner.h"
#include "cardfile/CardFileText.h"
#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "model/CardBoxes.h"
#include "platform/MessageBoxes.h"
#include "platform/TextCoding.h"
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

// Hands the file out in pieces as short as a few bytes, so that the byte-order mark
// and the characters are split between pieces.
class PieceFile : public InputFile {
public:
    PieceFile(std::string_view bytes, std::size_t piece) : bytes_(bytes), piece_(piece) {}

    std::uint32_t size() override { return static_cast<std::uint32_t>(bytes_.size()); }

    bool read(std::string& out, std::uint32_t count, ErrorCode& /*error*/) override {
        const std::string_view taken = bytes_.substr(0, std::min<std::size_t>(count, piece_));
        out.append(taken);
        bytes_.remove_prefix(taken.size());
        return true;
    }

private:
    std::string_view bytes_;
    std::size_t piece_;
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

bool fitsCodePage(const CardBoxes& deck) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        for (const CardRef& card : deck.box(box)) {
            if (!fitsCp1252(card->getQuestion()) || !fitsCp1252(card->getAnswer()) ||
                !fitsCp1252(card->getInfo())) {
                return false;
            }
        }
    }
    return true;
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
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Scanned straight in the fuzzer's buffer, so any read past the text is caught.
    for (BlockScanner scanner(bytes); !scanner.nextBlocks().empty();) {
    }
    // Both answers to the reader's question, and both ways the program reads a
    // file (whole, or decoded as it arrives in pieces), chosen by the input itself.
    const bool goOn = size % 2 == 0;
    ScriptedBoxes boxes(goOn);
    CardBoxes deck;
    if (size % 4 < 2) {
        readCardFileBytes(deck, bytes, boxes);
    } else {
        PieceFile file(bytes, 1 + size / 4 % 8);
        CardFileText text;
        ErrorCode error = 0;
        check(readCardFileText(file, text, error), "a file in memory reads without a failure");
        readCardFile(deck, std::move(text), boxes);
    }

    ScriptedBoxes referenceBoxes(goOn);
    CardBoxes reference;
    referenceReadCardFile(reference, bytes, referenceBoxes);
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
    check(savedEncoding(deck) == deck.encoding(), "an unedited deck is saved in its own kind");

    if (textsHoldATag(deck)) {
        return 0;  // the format has no escape: such a deck cannot come back the same
    }
    // Its own kind first (invalid UTF-8 kept as it was read), then the other one,
    // into which a UTF-8 deck goes only when every text fits.
    const CardEncoding other =
        deck.encoding() == CardEncoding::utf8 ? CardEncoding::cp1252 : CardEncoding::utf8;
    for (const CardEncoding kind : {deck.encoding(), other}) {
        if (kind == CardEncoding::cp1252 && !fitsCodePage(deck)) {
            continue;
        }
        const std::string written =
            kind == deck.encoding() ? composeCardText(deck) : composeCardText(deck, kind);
        check((written.compare(0, utf8ByteOrderMark.size(), utf8ByteOrderMark) == 0) ==
                  (kind == CardEncoding::utf8),
              "exactly a UTF-8 file begins with the byte-order mark");
        ScriptedBoxes quiet(false);
        CardBoxes reread;
        readCardFileBytes(reread, written, quiet);
        check(quiet.questions == 0 && quiet.notices == 0, "a written deck reads without a box");
        check(reread.encoding() == kind, "a written deck reads back in the kind it was written");
        check(sameBoxes(deck, reread), "a written deck reads back into the same boxes");
        check(composeCardText(reread) == written, "writing a reread deck gives the same bytes");
    }
    return 0;
}
