#include "model/MergeMatch.h"

#include <functional>
#include <string_view>

namespace {

// All three texts, or two of them (which two is part of the key, so that a
// question never meets an answer).
enum class Texts : std::uint8_t { all, questionAnswer, questionInfo, answerInfo };
constexpr Texts pairs[] = {Texts::questionAnswer, Texts::questionInfo, Texts::answerInfo};

struct TextKey {
    Texts texts;
    std::string_view first;
    std::string_view second;
    std::string_view third;

    bool operator==(const TextKey& other) const {
        return texts == other.texts && first == other.first && second == other.second &&
               third == other.third;
    }
};

struct TextKeyHash {
    std::size_t operator()(const TextKey& key) const {
        const std::hash<std::string_view> hash;
        std::size_t value = static_cast<std::size_t>(key.texts);
        for (const std::string_view text : {key.first, key.second, key.third}) {
            value = (value ^ hash(text)) * static_cast<std::size_t>(1099511628211ull);
        }
        // The table takes the low bits, which a product mixes least.
        return value ^ (value >> 17);
    }
};

// Two empty texts say nothing of a card: cards without an info or an answer are
// common.
bool saysLittle(const TextKey& key) {
    return key.texts != Texts::all && key.first.empty() && key.second.empty();
}

TextKey keyOf(const Card& card, Texts texts) {
    switch (texts) {
        case Texts::questionAnswer:
            return {texts, card.getQuestion(), card.getAnswer(), {}};
        case Texts::questionInfo:
            return {texts, card.getQuestion(), card.getInfo(), {}};
        case Texts::answerInfo:
            return {texts, card.getAnswer(), card.getInfo(), {}};
        case Texts::all:
            break;
    }
    return {texts, card.getQuestion(), card.getAnswer(), card.getInfo()};
}

// Cards by their texts, those with equal texts in the order added. Each of the two
// copies takes them in that order from a cursor of its own, so that the k-th
// duplicate of a copy meets the k-th of the base, and a card taken is never
// offered to that copy again.
class TextIndex {
public:
    explicit TextIndex(std::size_t cards = 0) {
        chains_.reserve(cards);
        next_.reserve(cards);
        rehash(cards);
    }

    void add(const TextKey& key, std::int32_t card) {
        if (next_.size() <= static_cast<std::size_t>(card)) {
            next_.resize(static_cast<std::size_t>(card) + 1, none);
        }
        if (2 * (chains_.size() + 1) > slots_.size()) {
            rehash(chains_.size() + 1);
        }
        const std::size_t hash = TextKeyHash()(key);
        std::int32_t& slot = slotOf(key, hash);
        if (slot == none) {
            slot = static_cast<std::int32_t>(chains_.size());
            chains_.push_back({key, hash, card, {card, card}});
            return;
        }
        Chain& chain = chains_[static_cast<std::size_t>(slot)];
        next_[static_cast<std::size_t>(chain.tail)] = card;
        chain.tail = card;
    }

    // The first card under `key` not taken by copy `copy` that `free` accepts;
    // those `free` refuses are passed for good.
    template <typename Free>
    std::int32_t take(const TextKey& key, int copy, Free free) {
        const std::int32_t slot = slotOf(key, TextKeyHash()(key));
        if (slot == none) {
            return none;
        }
        std::int32_t& at = chains_[static_cast<std::size_t>(slot)].at[copy];
        while (at != none && !free(at)) {
            at = next_[static_cast<std::size_t>(at)];
        }
        const std::int32_t card = at;
        if (card != none) {
            at = next_[static_cast<std::size_t>(card)];
        }
        return card;
    }

private:
    struct Chain {
        TextKey key;
        std::size_t hash;
        std::int32_t tail;
        std::int32_t at[2];
    };

    // Open addressing over an array at most half full: a look-up touches one or
    // two slots and no node of its own, which is what a merge spends most on.
    std::int32_t& slotOf(const TextKey& key, std::size_t hash) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            std::int32_t& slot = slots_[at];
            if (slot == none) {
                return slot;
            }
            const Chain& chain = chains_[static_cast<std::size_t>(slot)];
            if (chain.hash == hash && chain.key == key) {
                return slot;
            }
        }
    }

    void rehash(std::size_t keys) {
        std::size_t size = 16;
        while (size < 2 * keys) {
            size *= 2;
        }
        slots_.assign(size, none);
        for (std::size_t chain = 0; chain < chains_.size(); ++chain) {
            slotOf(chains_[chain].key, chains_[chain].hash) = static_cast<std::int32_t>(chain);
        }
    }

    std::vector<std::int32_t> slots_;
    std::vector<Chain> chains_;
    std::vector<std::int32_t> next_;
};

constexpr auto anyCard = [](std::int32_t) { return true; };

// One copy as the merge walks it: its cards, the unit of each, and its field in a unit.
struct Copy {
    const DeckSide& side;
    std::vector<std::int32_t>& unitOf;
    std::int32_t MergeUnit::*field;
    int cursor;
};

void matchSame(TextIndex& baseTexts, Copy copy, std::vector<MergeUnit>& units) {
    for (std::size_t card = 0; card < copy.side.cards.size(); ++card) {
        const std::int32_t unit =
            baseTexts.take(keyOf(*copy.side.cards[card], Texts::all), copy.cursor, anyCard);
        if (unit != none) {
            units[static_cast<std::size_t>(unit)].*copy.field = static_cast<std::int32_t>(card);
            copy.unitOf[card] = unit;
        }
    }
}

void matchEdited(const DeckSide& base, Copy copy, std::vector<MergeUnit>& units) {
    TextIndex texts;
    const auto isLeft = [&](std::int32_t unit) {
        return units[static_cast<std::size_t>(unit)].*copy.field == none;
    };
    for (std::size_t card = 0; card < base.cards.size(); ++card) {
        if (isLeft(static_cast<std::int32_t>(card))) {
            for (const Texts two : pairs) {
                const TextKey key = keyOf(*base.cards[card], two);
                if (!saysLittle(key)) {
                    texts.add(key, static_cast<std::int32_t>(card));
                }
            }
        }
    }
    for (std::size_t card = 0; card < copy.side.cards.size(); ++card) {
        for (const Texts two : pairs) {
            if (copy.unitOf[card] != none) {
                break;
            }
            const std::int32_t unit = texts.take(keyOf(*copy.side.cards[card], two), 0, isLeft);
            if (unit != none) {
                units[static_cast<std::size_t>(unit)].*copy.field = static_cast<std::int32_t>(card);
                copy.unitOf[card] = unit;
            }
        }
    }
}

void matchLeftOver(const DeckSide& mine, const DeckSide& theirs, Matching& matching) {
    TextIndex theirTexts;
    for (std::size_t card = 0; card < theirs.cards.size(); ++card) {
        if (matching.theirsUnit[card] == none) {
            theirTexts.add(keyOf(*theirs.cards[card], Texts::all), static_cast<std::int32_t>(card));
        }
    }
    const auto addUnit = [&matching](std::int32_t mineCard, std::int32_t theirsCard) {
        const auto unit = static_cast<std::int32_t>(matching.units.size());
        matching.units.push_back({none, mineCard, theirsCard});
        if (mineCard != none) matching.mineUnit[static_cast<std::size_t>(mineCard)] = unit;
        if (theirsCard != none) matching.theirsUnit[static_cast<std::size_t>(theirsCard)] = unit;
    };
    for (std::size_t card = 0; card < mine.cards.size(); ++card) {
        if (matching.mineUnit[card] == none) {
            addUnit(static_cast<std::int32_t>(card),
                    theirTexts.take(keyOf(*mine.cards[card], Texts::all), 0, anyCard));
        }
    }
    for (std::size_t card = 0; card < theirs.cards.size(); ++card) {
        if (matching.theirsUnit[card] == none) {
            addUnit(none, static_cast<std::int32_t>(card));
        }
    }
}

}  // namespace

DeckSide::DeckSide(const CardBoxes& deck) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        boxStart[static_cast<std::size_t>(box)] = cards.size();
        for (const CardRef& card : deck.box(box)) {
            cards.push_back(card.get());
            boxes.push_back(box);
        }
    }
    boxStart[CardBoxes::boxCount] = cards.size();
}

Matching matchCards(const DeckSide* base, const DeckSide& mine, const DeckSide& theirs) {
    Matching matching;
    matching.mineUnit.assign(mine.cards.size(), none);
    matching.theirsUnit.assign(theirs.cards.size(), none);
    if (base != nullptr) {
        matching.units.resize(base->cards.size());
        TextIndex baseTexts(base->cards.size());
        for (std::size_t card = 0; card < base->cards.size(); ++card) {
            matching.units[card].base = static_cast<std::int32_t>(card);
            baseTexts.add(keyOf(*base->cards[card], Texts::all), static_cast<std::int32_t>(card));
        }
        const Copy copies[] = {{mine, matching.mineUnit, &MergeUnit::mine, 0},
                               {theirs, matching.theirsUnit, &MergeUnit::theirs, 1}};
        for (const Copy& copy : copies) {
            matchSame(baseTexts, copy, matching.units);
        }
        for (const Copy& copy : copies) {
            matchEdited(*base, copy, matching.units);
        }
    }
    matchLeftOver(mine, theirs, matching);
    return matching;
}
