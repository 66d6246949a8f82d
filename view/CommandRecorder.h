#pragma once
#include "model/CardBoxes.h"
#include "model/DeckChange.h"
#include "view/DialogPort.h"
#include "view/Feature.h"
#include "view/UndoHistory.h"

// Follows a command from its beginning to its end, commands run inside it folded
// into it, and tells the features both moments: what the deck journaled
// meanwhile, what typing changed, and what the dialog showed before and after.
class CommandRecorder {
public:
    explicit CommandRecorder(Features& features) : features_(features) {}

    void begin(DialogPort& dialog, CardBoxes* deck, const ShownCards& shown, bool editing,
               CalendarDay today);
    // `shown` is what the dialog shows now.
    void end(DialogPort& dialog, CardBoxes* deck, const CardFile& file, const ShownCards& shown);
    bool running() const { return depth_ > 0; }

    // A deck journals into the command from now; its history starts settled.
    void startDeck(CardBoxes& deck, CalendarDay today);
    // Undo, Redo, Open and New settle the history themselves.
    void settle() { settled_ = true; }
    // What Undo and Redo replay in the command running.
    ReplayLog& replayLog() { return replayed_; }

private:
    Features& features_;
    int depth_ = 0;
    bool settled_ = false;
    DeckJournal journal_;
    ReplayLog replayed_;
    ShownCards start_;
    // Only edit mode stores typing, and only into the card shown.
    CardRef typedInto_;
    CardTexts textsAtStart_;
};
