#include "model/CardBoxes.h"

#include <algorithm>

namespace {
const std::string leadMark = "+";
const std::string otherMark = "-";
const CardBoxes::Box noBox;
}  // namespace

CardBoxes::Box* CardBoxes::find(int box) {
    return isBox(box) ? &boxes_[static_cast<std::size_t>(box)] : nullptr;
}

const CardBoxes::Box& CardBoxes::box(int box) const {
    return isBox(box) ? boxes_[static_cast<std::size_t>(box)] : noBox;
}

int CardBoxes::count(int box) const { return static_cast<int>(this->box(box).size()); }

bool CardBoxes::selectBox(int box, CardRef& current) {
    Box* cards = find(box);
    if (cards == nullptr || cards->empty()) {
        current->setInit(0);
        return false;
    }
    current->setInit(1);
    current = cards->front();
    return true;
}

void CardBoxes::moveFrontTo(Box& from, int to) {
    CardRef card = from.front();
    card->setMark(otherMark);
    card->setSection(to);
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
    current = boxes_[1].back();
    return true;
}

bool CardBoxes::nextCard(int box, CardRef& current) {
    Box* cards = find(box);
    if (cards == nullptr || cards->empty()) {
        return false;
    }
    if (cards->size() > 1) {
        (*cards)[0]->setMark(otherMark);
        (*cards)[1]->setMark(leadMark);
        std::rotate(cards->begin(), cards->begin() + 1, cards->end());
    }
    current = cards->front();
    return true;
}

void CardBoxes::previousCard(int box, CardRef& current) {
    Box* cards = find(box);
    if (cards == nullptr || cards->size() < 2) {
        return;
    }
    cards->front()->setMark(otherMark);
    std::rotate(cards->rbegin(), cards->rbegin() + 1, cards->rend());
    cards->front()->setMark(leadMark);
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
    card->setSection(box);
    cards->insert(cards->begin(), card);
}

bool CardBoxes::removeFirst(int box) {
    Box* cards = find(box);
    if (cards == nullptr || cards->empty()) {
        return false;
    }
    cards->erase(cards->begin());
    return true;
}
