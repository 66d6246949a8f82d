#pragma once
#include <optional>

#include "view/CardView.h"
#include "view/Feature.h"
#include "view/UndoHistory.h"

// Undo and Redo: every command that changed the deck becomes a step, every other
// one navigation that goes back with the last step; the Edit menu follows.
class UndoFeature : public Feature {
public:
    explicit UndoFeature(ReplayLog& log) { history_.setReplayLog(&log); }

    void commandEnded(DialogPort& dialog, CommandEnd& end) override;
    // A new deck starts with nothing to undo.
    void deckReplaced(DialogPort& dialog, CardBoxes& deck) override;

    // What to show then, when there was a step to take back or make again.
    std::optional<ShownCards> undo(CardBoxes& deck, const ShownCards& now) {
        return history_.undo(deck, now);
    }
    std::optional<ShownCards> redo(CardBoxes& deck) { return history_.redo(deck); }
    void showState(DialogPort& dialog) const;

private:
    UndoHistory history_;
};

// Ctrl+Z belongs to a pane while it has the focus and holds typing not yet
// stored in the card shown: then it is the pane's own undo.
bool paneTakesUndo(DialogPort& dialog, const CardView& view);

// What the dialog shows now, as a command begins and ends and as Undo starts.
ShownCards shownNow(DialogPort& dialog, const CardRef& active, const CardView& view);

// Makes what an undo or redo brought back the active and the shown card, its box
// selected as a box selection selects it; true when that card is to come to the
// front, else shows that there is none.
bool showRestored(DialogPort& dialog, const ShownCards& shown, CardRef& active, CardView& view,
                  MessageBoxes& boxes);
