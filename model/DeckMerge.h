#pragma once
#include <memory>
#include <string>

#include "model/CardBoxes.h"

// What a merge did, counted in cards.
struct MergeSummary {
    int learnedHere = 0;   // cards whose box and day are this copy's learning
    int learnedThere = 0;  // the same for the other copy
    int added = 0;         // cards that only one copy had, or both added alike
    int removed = 0;       // cards deleted on a side while the other left them alone
    int editedOnBoth = 0;  // cards typed differently on both: both kept

    MergeSummary& operator+=(const MergeSummary& other) {
        learnedHere += other.learnedHere;
        learnedThere += other.learnedThere;
        added += other.added;
        removed += other.removed;
        editedOnBoth += other.editedOnBoth;
        return *this;
    }
    bool operator==(const MergeSummary& other) const {
        return learnedHere == other.learnedHere && learnedThere == other.learnedThere &&
               added == other.added && removed == other.removed &&
               editedOnBoth == other.editedOnBoth;
    }
};

struct MergedDeck {
    CardBoxes deck;
    MergeSummary summary;
};

// One deck of two copies that were learned apart, `mine` (this computer's) and
// `theirs` (the other's), given `base`, what both were before they went apart:
// - A card changed on one side only (box, day, texts) is that side's. Learned on
//   both (box or day not the base's on both), the later day wins; the same day,
//   mine. Texts and learning are decided apart, so an edit on one side and a Move
//   on the other both stay.
// - Texts typed differently on both sides: mine in its place, theirs as a card of
//   its own right behind it, in the same box, so that nothing typed is lost.
// - Added on either side: kept. Deleted on one side: gone if the other left it
//   alone, kept if the other changed it. Deleted on both: gone.
// - A box is a ring that Next turns: its order is theirs, and a card whose place
//   comes from mine (mine moved it there, or added it) goes behind the card it
//   follows in mine. Its current card (the front) is mine when only mine turned
//   it, else theirs.
// - The history: per day, the base's counts plus what each side added.
// Without a base (two copies of unknown descent) "changed" reads "differs": the
// later day wins, the same day mine; a card on one side only is kept; and the
// history keeps, per day, the larger of each count, since the copies' common past
// is in both.
// The merged deck holds cards of its own; it is UTF-8 when either copy is.
MergedDeck mergeDecks(const CardBoxes* base, const CardBoxes& mine, const CardBoxes& theirs);

// A copy of `deck` that later changes to it leave alone, as the base of a merge
// to come: its cards still refer to the card file's text where the deck's do, so
// it costs about a small object per card.
std::unique_ptr<CardBoxes> copyOfDeck(const CardBoxes& deck);

// "12 learned here, 30 learned there, 2 added, 1 removed, 0 edited on both sides
// (both kept)".
std::string mergeSummaryLine(const MergeSummary& summary);
