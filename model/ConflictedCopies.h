#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/CardBoxes.h"

// Sync clients that find a file saved on two computers before they synced keep
// the other computer's save beside it under a name of their own. For the deck
// "Latin.mqf" these are taken for such copies (letters compared as Windows
// compares file names, in ASCII without regard to case; the extension the deck's):
//   "Latin (Laptop's conflicted copy 2026-12-08).mqf"  anything in the brackets
//       that says "conflicted copy";
//   "Latin-LAPTOP.mqf"  a computer name as Windows gives it: 1 to 15 capital
//       letters, digits and hyphens, at least one of them a letter, so that
//       "Latin-2.mqf" or "Latin-old.mqf", names a learner gives, are not taken;
//   "Latin.sync-conflict-20261208-101500-ABCDEFG.mqf"  a date, a time and an
//       id of capital letters and digits.
// `deckPath` may hold folders; `names` are names in its folder. Gives the names
// taken, in their order.
std::vector<std::string> conflictedCopyNames(std::string_view deckPath,
                                             const std::vector<std::string>& names);

// A file with such a name is only a copy of the deck when it holds mostly the
// deck's cards: more than half of the cards of the smaller of the two must be
// cards of the other too (the same texts, each card counted once). Two decks
// learned apart share nearly all; an unrelated deck that merely has such a name
// shares few.
bool sharesMostCards(const CardBoxes& deck, const CardBoxes& copy);
