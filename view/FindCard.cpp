#include "view/FindCard.h"

#include <string>

namespace {
bool holds(const Card& card, std::string_view foldedText, CaseFolding& folding,
           std::string& texts) {
    // One fold for the three texts: the separator is a character no typed text
    // holds, so no match spans two of them.
    texts.assign(card.getQuestion());
    texts += '\0';
    texts += card.getAnswer();
    texts += '\0';
    texts += card.getInfo();
    return folding.fold(texts).find(foldedText) != std::string::npos;
}
}  // namespace

std::optional<FoundCard> findCard(const CardBoxes& deck, int box, const Card* shown,
                                  std::string_view text, CaseFolding& folding) {
    if (box < 0 || box > CardBoxes::lastBox) {
        box = 0;
    }
    const std::string folded = folding.fold(text);
    std::string texts;
    const CardBoxes::Box& start = deck.box(box);
    std::size_t shownAt = start.size();
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (start[i].get() == shown) {
            shownAt = i;
            break;
        }
    }
    // The start box is visited twice: after the card shown, and at the end up to it.
    const std::size_t firstAfterShown = shownAt == start.size() ? 0 : shownAt + 1;
    for (int turn = 0; turn <= CardBoxes::boxCount; ++turn) {
        const int at = (box + turn) % CardBoxes::boxCount;
        const CardBoxes::Box& cards = deck.box(at);
        std::size_t from = 0;
        std::size_t to = cards.size();
        if (turn == 0) {
            from = firstAfterShown;
        } else if (turn == CardBoxes::boxCount) {
            to = firstAfterShown;
        }
        for (std::size_t i = from; i < to; ++i) {
            if (holds(*cards[i], folded, folding, texts)) {
                return FoundCard{at, i};
            }
        }
    }
    return std::nullopt;
}
