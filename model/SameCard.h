#pragma once
#include "model/Card.h"

// Cards carry no identity of their own in the card file: a card read anew, or
// another copy of the deck, is known as the same card by its texts alone. Box,
// place and day are what learning changes, so they never decide.
inline bool isSameCard(const Card& a, const Card& b) {
    return a.getQuestion() == b.getQuestion() && a.getAnswer() == b.getAnswer() &&
           a.getInfo() == b.getInfo();
}
