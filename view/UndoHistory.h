#pragma once
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "model/CardBoxes.h"
#include "model/DeckChange.h"

// What the dialog shows of a deck: the selected box, the card the learning
// commands act on and the card the panes show.
struct ShownCards {
    int box = -1;
    CardRef active;
    CardRef shown;
};

// The three texts of a card, as typing in edit mode changes them.
struct CardTexts {
    std::string question;
    std::string answer;
    std::string info;
    bool operator==(const CardTexts& other) const {
        return question == other.question && answer == other.answer && info == other.info;
    }
};

// One command that changed the deck, and the navigation that followed it.
struct UndoStep {
    DeckJournal changes;
    CardRef editedCard;
    CardTexts textsBefore;
    CardTexts textsAfter;
    ShownCards before;
    // Right after the step; once undone, as the undo found it.
    ShownCards after;
    DeckJournal navigation;
    // How much navigation the step below had when this one was undone: what was
    // navigated after the undo goes back before this step is made again.
    std::size_t navigationBelow = 0;
};

// What an undo or redo did to the deck, in the order it did it, for the recovery
// record: replaying journals nothing.
struct ReplayLog {
    struct Replayed {
        DeckChange change;
        bool forward;
    };
    std::vector<Replayed> changes;
    // The card whose texts it set, if any.
    CardRef editedCard;
    bool empty() const { return changes.empty() && !editedCard; }
    void clear() {
        changes.clear();
        editedCard.reset();
    }
};

// The steps since the deck was opened or made, to be undone and redone. Each keeps
// only what it changed, so undoing costs what doing did.
class UndoHistory {
public:
    static constexpr std::size_t capacity = 1000;

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    void clear();

    // A new step: what could be redone is gone.
    void record(UndoStep step);
    // Changes that only navigated: they go back with the last step.
    void recordNavigation(DeckJournal&& changes);

    // Puts the deck back as it was before the last step, navigation after it
    // included; what to show then. `now` is what is shown before the undo.
    std::optional<ShownCards> undo(CardBoxes& deck, const ShownCards& now);
    // Makes the last undone step again and brings the deck back to where the undo
    // found it; what to show then.
    std::optional<ShownCards> redo(CardBoxes& deck);

    // While a log is given, undo and redo tell it what they do.
    void setReplayLog(ReplayLog* log) { log_ = log; }

private:
    void replay(CardBoxes& deck, const DeckChange& change, bool forward);
    void takeBack(CardBoxes& deck, const DeckJournal& changes, std::size_t keep = 0);
    void setTexts(const CardRef& card, const CardTexts& texts);

    DeckJournal& navigationOnTop() {
        return done_.empty() ? baseNavigation_ : done_.back().navigation;
    }

    std::deque<UndoStep> done_;
    std::vector<UndoStep> undone_;
    // Navigation with no step to go back with, kept only while a step can be redone.
    DeckJournal baseNavigation_;
    ReplayLog* log_ = nullptr;
};
