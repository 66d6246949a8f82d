#pragma once
#include <optional>

#include "model/AnswerCheck.h"
#include "platform/MessageBoxes.h"
#include "platform/TextKnowledge.h"
#include "view/AnswerSwitches.h"
#include "view/CardView.h"
#include "view/ControlIds.h"
#include "view/Feature.h"

// Type the Answer: the learner types the hidden side before it shows, the check
// says how close that came, and the button it suggests becomes the one that Enter
// presses. The verdict suggests; Move and Back stay the learner's to choose.
class TypedAnswers : public Feature {
public:
    TypedAnswers(SettingsStore& store, TextKnowledge& knowledge, MessageBoxes& boxes)
        : switches_(store), knowledge_(knowledge), boxes_(boxes) {}

    // At the start: the switches kept, on the menu, and the entry if the mode is on.
    void start(DialogPort& dialog);
    // Navigate > Type the Answer, Ignore case or Ignore accents.
    void toggle(DialogPort& dialog, AnswerSwitch which);
    // Enter in the entry: Show, which checks, or once checked, the suggested button.
    void enter(DialogPort& dialog);
    // Ctrl+Z in the entry, while it holds typing, is the entry's own undo, not the deck's.
    bool entryTakesUndo(DialogPort& dialog) {
        return dialog.focusedControl() == ids::answerEntry && dialog.isModified(ids::answerEntry);
    }

    void cardShown(DialogPort& dialog, const CardView& view) override;
    void answerRevealed(DialogPort& dialog, const CardView& view) override;
    void commandBegan(DialogPort& dialog) override;
    void commandEnded(DialogPort& dialog, CommandEnd& end) override;
    void deckReplaced(DialogPort&, CardBoxes& deck) override { deck_ = &deck; }

    const AnswerSwitches& switches() const { return switches_; }
    // The last check's verdict on the card shown; none before its check.
    const std::optional<AnswerVerdict>& verdict() const { return verdict_; }

private:
    // Shows the entry when the mode is on and the deck is not being edited, which
    // ignores the mode; true when it shows.
    bool showEntry(DialogPort& dialog);
    // Nothing typed, nothing judged, and Next the default button, as without the mode.
    void clearEntry(DialogPort& dialog);

    AnswerSwitches switches_;
    TextKnowledge& knowledge_;
    MessageBoxes& boxes_;
    bool entryShown_ = false;
    std::optional<AnswerVerdict> verdict_;
    int suggested_ = 0;         // the button the verdict suggests
    bool revealedNow_ = false;  // within the command running
    // Where a check right on the first try is counted for the day.
    CardBoxes* deck_ = nullptr;
};
