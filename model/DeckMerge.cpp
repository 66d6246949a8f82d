#include "model/DeckMerge.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <optional>

#include "model/MergeLayout.h"
#include "model/MergeMatch.h"
#include "model/SameCard.h"

namespace {

// One copy's card of a unit, where it lies; no card when that copy lacks it.
struct Version {
    const Card* card = nullptr;
    std::int32_t box = 0;
};

Version versionOf(const DeckSide* side, std::int32_t index) {
    if (side == nullptr || index == none) {
        return {};
    }
    const auto at = static_cast<std::size_t>(index);
    return {side->cards[at], side->boxes[at]};
}

bool learnedApart(const Version& a, const Version& b) {
    return a.box != b.box || a.card->getDay() != b.card->getDay();
}

bool changedFrom(const Version& base, const Version& side) {
    return learnedApart(base, side) || !isSameCard(*base.card, *side.card);
}

MergeOutcome keep(const Version& learning, const Card* texts, MergeSide side) {
    MergeOutcome outcome;
    outcome.kept = true;
    outcome.texts = texts;
    outcome.box = learning.box;
    outcome.day = learning.card->getDay();
    outcome.placedBy = side;
    return outcome;
}

class Decider {
public:
    explicit Decider(const MergeCopies& copies) : copies_(copies) {}

    MergeOutcome decide(const MergeUnit& unit) {
        const Version base = versionOf(copies_.base, unit.base);
        const Version mine = versionOf(&copies_.mine, unit.mine);
        const Version theirs = versionOf(&copies_.theirs, unit.theirs);
        if (mine.card != nullptr && theirs.card != nullptr) {
            return both(base, mine, theirs);
        }
        if (mine.card != nullptr) {
            return oneSide(base, mine, MergeSide::mine);
        }
        if (theirs.card != nullptr) {
            return oneSide(base, theirs, MergeSide::theirs);
        }
        ++summary.removed;
        return {};
    }

    MergeSummary summary;

private:
    void countLearned(MergeSide side) {
        ++(side == MergeSide::mine ? summary.learnedHere : summary.learnedThere);
    }

    // The other side deleted it, or never had it.
    MergeOutcome oneSide(const Version& base, const Version& only, MergeSide side) {
        if (base.card == nullptr) {
            ++summary.added;
        } else if (!changedFrom(base, only)) {
            ++summary.removed;
            return {};
        } else if (learnedApart(base, only)) {
            countLearned(side);
        }
        return keep(only, only.card, side);
    }

    MergeOutcome both(const Version& base, const Version& mine, const Version& theirs);

    const MergeCopies& copies_;
};

MergeOutcome Decider::both(const Version& base, const Version& mine, const Version& theirs) {
    // A card added on both sides, like a card of two copies without a base, has
    // changed on both exactly where they differ.
    const bool hasBase = base.card != nullptr;
    const bool mineLearned = hasBase ? learnedApart(base, mine) : learnedApart(mine, theirs);
    const bool theirsLearned = hasBase ? learnedApart(base, theirs) : mineLearned;
    const bool mineWins =
        mineLearned && (!theirsLearned || mine.card->getDay() >= theirs.card->getDay());
    const bool mineTyped = hasBase && !isSameCard(*base.card, *mine.card);
    const bool theirsTyped = hasBase && !isSameCard(*base.card, *theirs.card);
    const Card* texts = theirsTyped && !mineTyped ? theirs.card : mine.card;
    MergeOutcome outcome =
        mineWins ? keep(mine, texts, MergeSide::mine) : keep(theirs, texts, MergeSide::theirs);
    if (mineTyped && theirsTyped && !isSameCard(*mine.card, *theirs.card)) {
        outcome.alsoTheirs = theirs.card;
        ++summary.editedOnBoth;
    }
    if (copies_.base != nullptr && !hasBase) {
        ++summary.added;
    } else if (mineLearned || theirsLearned) {
        countLearned(outcome.placedBy);
    }
    return outcome;
}

// Per day and count: the base's plus what each side added; without a base, the
// larger of the two, as the copies' common past is in both.
std::uint32_t mergedCount(std::uint32_t base, std::uint32_t mine, std::uint32_t theirs,
                          bool hasBase) {
    if (!hasBase) {
        return std::max(mine, theirs);
    }
    const std::int64_t sum = std::int64_t{mine} + theirs - base;
    return static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(sum, 0, std::numeric_limits<std::uint32_t>::max()));
}

LearningHistory mergeHistories(const CardBoxes* base, const CardBoxes& mine,
                               const CardBoxes& theirs) {
    // The three tallies of each day any of them learned on: base, mine, theirs.
    std::map<CalendarDay, std::array<DayTally, 3>> days;
    const CardBoxes* decks[] = {base, &mine, &theirs};
    for (std::size_t which = 0; which < 3; ++which) {
        if (decks[which] != nullptr) {
            for (const auto& [day, tally] : decks[which]->history().days()) {
                days[day][which] = tally;
            }
        }
    }
    LearningHistory merged;
    for (const auto& entry : days) {
        // Named apart: a lambda may not capture a structured binding before C++20.
        const std::array<DayTally, 3>& tallies = entry.second;
        const CalendarDay day = entry.first;
        const auto count = [&](std::uint32_t DayTally::*which) {
            return mergedCount(tallies[0].*which, tallies[1].*which, tallies[2].*which,
                               base != nullptr);
        };
        merged.add(day, {count(&DayTally::up), count(&DayTally::back), count(&DayTally::drawn),
                         count(&DayTally::rightFirstTry)});
    }
    return merged;
}

}  // namespace

MergedDeck mergeDecks(const CardBoxes* base, const CardBoxes& mine, const CardBoxes& theirs) {
    const DeckSide mineSide(mine);
    const DeckSide theirsSide(theirs);
    std::optional<DeckSide> baseSide;
    if (base != nullptr) {
        baseSide.emplace(*base);
    }
    const Matching matching = matchCards(baseSide ? &*baseSide : nullptr, mineSide, theirsSide);
    const MergeCopies copies{baseSide ? &*baseSide : nullptr, mineSide, theirsSide, matching};

    Decider decider(copies);
    std::vector<MergeOutcome> outcomes;
    outcomes.reserve(matching.units.size());
    for (const MergeUnit& unit : matching.units) {
        outcomes.push_back(decider.decide(unit));
    }

    MergedDeck merged{{}, decider.summary};
    layOutBoxes(copies, outcomes, merged.deck);
    merged.deck.historyForReading() = mergeHistories(base, mine, theirs);
    const bool anyUtf8 =
        mine.encoding() == CardEncoding::utf8 || theirs.encoding() == CardEncoding::utf8;
    merged.deck.setEncoding(anyUtf8 ? CardEncoding::utf8 : CardEncoding::cp1252);
    bool anyCard = false;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        anyCard = anyCard || merged.deck.count(box) > 0;
    }
    merged.deck.setHasCards(anyCard ? 1 : 0);
    return merged;
}

std::unique_ptr<CardBoxes> copyOfDeck(const CardBoxes& deck) {
    auto copy = std::make_unique<CardBoxes>();
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        CardBoxes::Box& cards = copy->boxForReading(box);
        cards.reserve(deck.box(box).size());
        for (const CardRef& card : deck.box(box)) {
            cards.push_back(card->copy());
        }
    }
    copy->historyForReading() = deck.history();
    copy->setEncoding(deck.encoding());
    copy->setHasCards(deck.hasCards());
    return copy;
}

std::string mergeSummaryLine(const MergeSummary& summary) {
    return std::to_string(summary.learnedHere) + " learned here, " +
           std::to_string(summary.learnedThere) + " learned there, " +
           std::to_string(summary.added) + " added, " + std::to_string(summary.removed) +
           " removed, " + std::to_string(summary.editedOnBoth) +
           " edited on both sides (both kept)";
}
