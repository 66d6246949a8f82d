#include "model/CardBoxes.h"

#include <algorithm>
#include <utility>

namespace {
const std::string leadMark = "+";
const std::string otherMark = "-";
const CardBoxes::Box noBox;

using Kind = DeckChange::Kind;

// Turns `steps` cards from the front to the back; negative steps turn the other way.
void turn(CardBoxes::Box& cards, std::int32_t steps) {
    if (cards.empty()) {
        return;
    }
    const auto size = static_cast<std::int64_t>(cards.size());
    const auto shift = static_cast<std::ptrdiff_t>(((steps % size) + size) % size);
    std::rotate(cards.begin(), cards.begin() + shift, cards.end());
}
}  // namespace

CardBoxes::Box* CardBoxes::find(int box) {
    return isBox(box) ? &boxes_[static_cast<std::size_t>(box)] : nullptr;
}

const CardBoxes::Box& CardBoxes::box(int box) const {
    return isBox(box) ? boxes_[static_cast<std::size_t>(box)] : noBox;
}

int CardBoxes::count(int box) const { return static_cast<int>(this->box(box).size()); }

void CardBoxes::record(DeckChange change) {
    if (journal_ != nullptr) {
        journal_->push_back(std::move(change));
    }
}

void CardBoxes::setMark(const CardRef& card, std::string_view mark) {
    // Most marks are already what they become; only real changes are worth keeping.
    if (card->getMark() != mark) {
        DeckChange change(Kind::marked, 0, card);
        change.markBefore = std::string(card->getMark());
        change.markAfter = std::string(mark);
        record(std::move(change));
    }
    card->setMark(mark);
}

void CardBoxes::setInit(const CardRef& card, std::int32_t init) {
    if (card->isInit() != init) {
        DeckChange change(Kind::flagged, 0, card);
        change.before = card->isInit();
        change.after = init;
        record(std::move(change));
    }
    card->setInit(init);
}

void CardBoxes::setDay(const CardRef& card, CalendarDay day) {
    if (card->getDay() != day) {
        DeckChange change(Kind::dated, 0, card);
        change.before = card->getDay();
        change.after = day;
        record(std::move(change));
    }
    card->setDay(day);
}

void CardBoxes::tally(Tally which) {
    if (today_ == noDay) {
        return;
    }
    DeckChange change(Kind::tallied, static_cast<int>(which));
    change.before = today_;
    record(std::move(change));
    history_.count(today_, which, 1);
}

bool CardBoxes::selectBox(int box, CardRef& current) {
    Box* cards = find(box);
    if (cards == nullptr || cards->empty()) {
        setInit(current, 0);
        return false;
    }
    setInit(current, 1);
    current = cards->front();
    return true;
}

void CardBoxes::moveFrontTo(Box& from, int to) {
    CardRef card = from.front();
    setMark(card, otherMark);
    DeckChange change(Kind::moved, static_cast<int>(&from - boxes_.data()), card);
    change.toBox = static_cast<std::int8_t>(to);
    change.before = card->getSection();
    record(std::move(change));
    card->setSection(to);
    if (today_ != noDay) {
        setDay(card, today_);
    }
    // Erase first: when `from` is box `to` itself the card goes round to the back.
    from.erase(from.begin());
    boxes_[static_cast<std::size_t>(to)].push_back(std::move(card));
}

bool CardBoxes::takeNewCard(CardRef& current) {
    Box& newCards = boxes_[0];
    if (newCards.empty()) {
        return false;
    }
    moveFrontTo(newCards, 1);
    tally(Tally::drawn);
    current = boxes_[1].back();
    return true;
}

bool CardBoxes::nextCard(int box, CardRef& current) {
    Box* cards = find(box);
    if (cards == nullptr || cards->empty()) {
        return false;
    }
    return turnTo(box, cards->size() > 1 ? 1 : 0, current);
}

bool CardBoxes::turnTo(int box, std::size_t index, CardRef& current) {
    Box* cards = find(box);
    if (cards == nullptr || index >= cards->size()) {
        return false;
    }
    if (index > 0) {
        // Each Next marks the card leaving the front "-" and the one coming up "+".
        for (std::size_t passed = 0; passed < index; ++passed) {
            setMark((*cards)[passed], otherMark);
        }
        setMark((*cards)[index], leadMark);
        DeckChange change(Kind::turned, box);
        change.before = static_cast<std::int32_t>(index);
        record(std::move(change));
        turn(*cards, static_cast<std::int32_t>(index));
    }
    current = cards->front();
    return true;
}

void CardBoxes::previousCard(int box, CardRef& current) {
    Box* cards = find(box);
    if (cards == nullptr || cards->size() < 2) {
        return;
    }
    setMark(cards->front(), otherMark);
    setMark(cards->back(), leadMark);
    DeckChange change(Kind::turned, box);
    change.before = -1;
    record(std::move(change));
    turn(*cards, -1);
    current = cards->front();
}

bool CardBoxes::moveUp(int box, CardRef& current) {
    Box* cards = find(box);
    if (cards == nullptr || cards->empty()) {
        return false;
    }
    // There is no box above the last one: the card stays where it is.
    if (box == lastBox) {
        return true;
    }
    moveFrontTo(*cards, box + 1);
    tally(Tally::up);
    if (cards->empty()) {
        return false;
    }
    current = cards->front();
    return true;
}

bool CardBoxes::moveBack(int box, CardRef& current) {
    Box* cards = find(box);
    if (cards == nullptr || cards->empty()) {
        return false;
    }
    moveFrontTo(*cards, 1);
    tally(Tally::back);
    if (cards->empty()) {
        return false;
    }
    current = cards->front();
    return true;
}

void CardBoxes::insertFirst(const CardRef& card, int box) {
    Box* cards = find(box);
    if (cards == nullptr) {
        return;
    }
    DeckChange change(Kind::inserted, box, card);
    change.before = card->getSection();
    record(std::move(change));
    card->setSection(box);
    if (today_ != noDay) {
        setDay(card, today_);
    }
    cards->insert(cards->begin(), card);
}

bool CardBoxes::removeFirst(int box) {
    Box* cards = find(box);
    if (cards == nullptr || cards->empty()) {
        return false;
    }
    DeckChange change(Kind::removed, box, cards->front());
    record(std::move(change));
    cards->erase(cards->begin());
    return true;
}

void CardBoxes::replay(const DeckChange& change, bool forward) {
    // Its `box` names a count, not a box.
    if (change.kind == Kind::tallied) {
        history_.count(change.before, static_cast<Tally>(change.box), forward ? 1 : -1);
        return;
    }
    Box* cards = find(change.box);
    if (cards == nullptr) {
        return;
    }
    Card* card = change.card.get();
    switch (change.kind) {
        case Kind::moved: {
            Box& to = boxes_[static_cast<std::size_t>(change.toBox)];
            // Taken out before it is put back: the two boxes may be one.
            if (forward) {
                cards->erase(cards->begin());
                to.push_back(change.card);
                card->setSection(change.toBox);
            } else {
                to.pop_back();
                cards->insert(cards->begin(), change.card);
                card->setSection(change.before);
            }
            break;
        }
        case Kind::turned:
            turn(*cards, forward ? change.before : -change.before);
            break;
        case Kind::inserted:
            if (forward) {
                card->setSection(change.box);
                cards->insert(cards->begin(), change.card);
            } else {
                cards->erase(cards->begin());
                card->setSection(change.before);
            }
            break;
        case Kind::removed:
            if (forward) {
                cards->erase(cards->begin());
            } else {
                cards->insert(cards->begin(), change.card);
            }
            break;
        case Kind::marked:
            card->setMark(forward ? change.markAfter : change.markBefore);
            break;
        case Kind::flagged:
            card->setInit(forward ? change.after : change.before);
            break;
        case Kind::dated:
            card->setDay(forward ? change.after : change.before);
            break;
        case Kind::tallied:
            break;
    }
}
