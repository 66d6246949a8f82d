#include "model/MergeLayout.h"

#include <algorithm>

namespace {

constexpr std::string_view leadMark = "+";
constexpr std::string_view otherMark = "-";

// A card mine placed, and the place in theirs' order of the card it follows.
struct Follower {
    std::int32_t after;
    std::int32_t unit;
};

class BoxLayout {
public:
    BoxLayout(const MergeCopies& copies, const std::vector<MergeOutcome>& outcomes)
        : copies_(copies), outcomes_(outcomes), place_(outcomes.size(), none) {}

    void layOut(int box, CardBoxes::Box& cards) {
        box_ = box;
        takeTheirOrder();
        findFollowers();
        emit(cards);
        leadWith(chooseFront(), cards);
    }

private:
    const MergeOutcome& of(std::int32_t unit) const {
        return outcomes_[static_cast<std::size_t>(unit)];
    }
    bool placedHereBy(std::int32_t unit, MergeSide side) const {
        return unit != none && of(unit).kept && of(unit).box == box_ && of(unit).placedBy == side;
    }
    static std::int32_t frontOf(const DeckSide& side, const std::vector<std::int32_t>& unitOf,
                                int box);

    void takeTheirOrder();
    void findFollowers();
    void emit(CardBoxes::Box& cards);
    void add(std::int32_t unit, CardBoxes::Box& cards);
    std::int32_t chooseFront() const;
    void leadWith(std::int32_t unit, CardBoxes::Box& cards) const;

    const MergeCopies& copies_;
    const std::vector<MergeOutcome>& outcomes_;
    int box_ = 0;
    // Where each unit of the box stands in `ring_`, and where its card went.
    std::vector<std::int32_t> place_;
    std::vector<std::int32_t> ring_;
    std::vector<Follower> followers_;
};

void BoxLayout::takeTheirOrder() {
    ring_.clear();
    const DeckSide& theirs = copies_.theirs;
    for (std::size_t card = theirs.boxStart[static_cast<std::size_t>(box_)];
         card < theirs.boxStart[static_cast<std::size_t>(box_) + 1]; ++card) {
        const std::int32_t unit = copies_.matching.theirsUnit[card];
        if (placedHereBy(unit, MergeSide::theirs)) {
            place_[static_cast<std::size_t>(unit)] = static_cast<std::int32_t>(ring_.size());
            ring_.push_back(unit);
        }
    }
}

// Mine's box is a ring too: walked once round from a card that theirs placed, each
// card of mine's follows the last such card passed (the ring's last card when
// there is none to start from).
void BoxLayout::findFollowers() {
    followers_.clear();
    const auto first = copies_.mine.boxStart[static_cast<std::size_t>(box_)];
    const auto size = copies_.mine.boxStart[static_cast<std::size_t>(box_) + 1] - first;
    const std::vector<std::int32_t>& unitOf = copies_.matching.mineUnit;
    std::size_t start = 0;
    while (start < size && !placedHereBy(unitOf[first + start], MergeSide::theirs)) {
        ++start;
    }
    std::int32_t after = static_cast<std::int32_t>(ring_.size()) - 1;
    for (std::size_t step = 0; step < size; ++step) {
        const std::int32_t unit = unitOf[first + (start + step) % size];
        if (placedHereBy(unit, MergeSide::theirs)) {
            after = place_[static_cast<std::size_t>(unit)];
        } else if (placedHereBy(unit, MergeSide::mine)) {
            followers_.push_back({after, unit});
        }
    }
    std::stable_sort(followers_.begin(), followers_.end(),
                     [](const Follower& a, const Follower& b) { return a.after < b.after; });
}

void BoxLayout::emit(CardBoxes::Box& cards) {
    auto follower = followers_.begin();
    const auto addFollowers = [&](std::int32_t after) {
        for (; follower != followers_.end() && follower->after == after; ++follower) {
            add(follower->unit, cards);
        }
    };
    addFollowers(none);
    for (std::size_t at = 0; at < ring_.size(); ++at) {
        add(ring_[at], cards);
        addFollowers(static_cast<std::int32_t>(at));
    }
}

void BoxLayout::add(std::int32_t unit, CardBoxes::Box& cards) {
    const MergeOutcome& outcome = of(unit);
    place_[static_cast<std::size_t>(unit)] = static_cast<std::int32_t>(cards.size());
    for (const Card* texts : {outcome.texts, outcome.alsoTheirs}) {
        if (texts != nullptr) {
            CardRef card = texts->copy();
            card->setSection(box_);
            card->setDay(outcome.day);
            cards.push_back(std::move(card));
        }
    }
}

std::int32_t BoxLayout::frontOf(const DeckSide& side, const std::vector<std::int32_t>& unitOf,
                                int box) {
    const std::size_t first = side.boxStart[static_cast<std::size_t>(box)];
    return first < side.boxStart[static_cast<std::size_t>(box) + 1] ? unitOf[first] : none;
}

// Every Move, Back and Next turns the box: the front is where its learner stands.
// Mine's stands only when theirs did not move on from the base's.
std::int32_t BoxLayout::chooseFront() const {
    const std::int32_t theirs = frontOf(copies_.theirs, copies_.matching.theirsUnit, box_);
    if (copies_.base == nullptr) {
        return theirs;
    }
    const std::int32_t mine = frontOf(copies_.mine, copies_.matching.mineUnit, box_);
    const std::size_t baseFirst = copies_.base->boxStart[static_cast<std::size_t>(box_)];
    const std::int32_t base = baseFirst < copies_.base->boxStart[static_cast<std::size_t>(box_) + 1]
                                  ? static_cast<std::int32_t>(baseFirst)
                                  : none;
    return mine != base && theirs == base ? mine : theirs;
}

void BoxLayout::leadWith(std::int32_t unit, CardBoxes::Box& cards) const {
    const bool inBox = unit != none && of(unit).kept && of(unit).box == box_;
    if (inBox && !cards.empty()) {
        const auto front = static_cast<std::ptrdiff_t>(place_[static_cast<std::size_t>(unit)]);
        std::rotate(cards.begin(), cards.begin() + front, cards.end());
    }
    for (std::size_t at = 0; at < cards.size(); ++at) {
        cards[at]->setMark(at == 0 ? leadMark : otherMark);
    }
}

}  // namespace

void layOutBoxes(const MergeCopies& copies, const std::vector<MergeOutcome>& outcomes,
                 CardBoxes& merged) {
    BoxLayout layout(copies, outcomes);
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        layout.layOut(box, merged.boxForReading(box));
    }
}
