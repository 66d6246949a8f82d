#pragma once
#include <utility>
#include <vector>

#include "model/CalendarDay.h"
#include "model/CardBoxes.h"
#include "model/DeckChange.h"
#include "view/CardView.h"
#include "view/DialogPort.h"
#include "view/UndoHistory.h"

class CardFile;

// What one command did to the deck, handed to every feature as the command ends.
struct CommandEnd {
    const CardBoxes& deck;
    const CardFile& file;
    // The box selected as the command ends.
    int box;
    // Undo, Redo, Open and New settled the history themselves: `changes` is empty
    // and nothing was typed; what Undo and Redo did is in `replayed`.
    bool settled;
    // A card moved, came or went, or typing changed its texts: a step to undo and a
    // change to recover, rather than only turning boxes.
    bool changedDeck;
    // What the command did to the deck, in order, navigation included.
    DeckJournal& changes;
    // The card whose texts typing changed (or none), with its texts before and after.
    CardRef editedCard;
    CardTexts textsBefore;
    CardTexts textsAfter;
    // What the dialog showed as the command began, and shows now.
    ShownCards before;
    ShownCards after;
    const ReplayLog& replayed;

    // The undo history keeps the changes without a copy; it comes after every
    // feature that reads them.
    DeckJournal takeChanges() { return std::move(changes); }
};

// A feature of the trainer (the undo history, the recovery record, the due
// counts, the Progress window, ...) that attaches to the moments it cares about
// instead of being called one by one by the commands. Every moment has a default
// that does nothing, so a feature overrides only its own. MQMainView's
// constructor attaches its features in a fixed order, and each moment reaches
// them in that order: the recovery record reads a command's changes before the
// undo history takes them, and the Progress window is charted last.
//
// A feature that empties a typing entry for each card and marks the answer as
// it is revealed would be:
//
//     class TypedAnswers : public Feature {
//     public:
//         void cardShown(DialogPort& dialog, const CardView& view) override {
//             dialog.setControlText(ids::typedAnswer, "");  // its own control
//             dialog.setFocus(ids::typedAnswer);
//             expected_ = faceText(*view.currentCard, view.faces().lower(true));
//         }
//         void answerRevealed(DialogPort& dialog, const CardView&) override {
//             dialog.setControlText(ids::verdict, verdictOf(typed_, expected_));
//         }
//     };
//
// and is attached with one line in MQMainView's constructor,
// `features_.attach(typedAnswers_);`, without touching any command.
class Feature {
public:
    virtual ~Feature() = default;

    // The outermost command began; commands run inside it are part of it. Also
    // without a deck.
    virtual void commandBegan(DialogPort&) {}
    // The outermost command ended, with a deck.
    virtual void commandEnded(DialogPort&, CommandEnd&) {}
    // A card came to the front: `view` shows it, the way round `view.direction`
    // says, its answer hidden.
    virtual void cardShown(DialogPort&, const CardView&) {}
    // Show revealed the lower side of the card shown (a second Show reveals the
    // info and is no such moment).
    virtual void answerRevealed(DialogPort&, const CardView&) {}
    // The deck was opened, made new, brought back or read anew: nothing may refer
    // to the cards of the one before.
    virtual void deckReplaced(DialogPort&, CardBoxes&) {}
    // The deck was written to its card file, under its name or a new one.
    virtual void deckSaved(DialogPort&) {}
    // The clock passed into a new day while a deck is open.
    virtual void dayChanged(DialogPort&, const CardBoxes&, CalendarDay) {}
};

// The features attached, in their order; each moment goes to all of them.
class Features {
public:
    void attach(Feature& feature) { features_.push_back(&feature); }

    void commandBegan(DialogPort& dialog) {
        for (Feature* f : features_) f->commandBegan(dialog);
    }
    void commandEnded(DialogPort& dialog, CommandEnd& end) {
        for (Feature* f : features_) f->commandEnded(dialog, end);
    }
    void cardShown(DialogPort& dialog, const CardView& view) {
        for (Feature* f : features_) f->cardShown(dialog, view);
    }
    void answerRevealed(DialogPort& dialog, const CardView& view) {
        for (Feature* f : features_) f->answerRevealed(dialog, view);
    }
    void deckReplaced(DialogPort& dialog, CardBoxes& deck) {
        for (Feature* f : features_) f->deckReplaced(dialog, deck);
    }
    void deckSaved(DialogPort& dialog) {
        for (Feature* f : features_) f->deckSaved(dialog);
    }
    void dayChanged(DialogPort& dialog, const CardBoxes& deck, CalendarDay today) {
        for (Feature* f : features_) f->dayChanged(dialog, deck, today);
    }

private:
    std::vector<Feature*> features_;
};
