#include "view/TypedAnswers.h"

#include "platform/MQMessage.h"
#include "view/CardFaces.h"
#include "view/ControlIds.h"

namespace {
int menuItemOf(AnswerSwitch which) { return ids::typeAnswerItem + static_cast<int>(which); }

constexpr AnswerSwitch everySwitch[] = {AnswerSwitch::typeAnswer, AnswerSwitch::ignoreCase,
                                        AnswerSwitch::ignoreAccents};
}  // namespace

void TypedAnswers::start(DialogPort& dialog) {
    switches_.load();
    for (const AnswerSwitch which : everySwitch) {
        dialog.checkMenuItem(menuItemOf(which), switches_.isOn(which));
    }
    if (showEntry(dialog)) clearEntry(dialog);
}

void TypedAnswers::toggle(DialogPort& dialog, AnswerSwitch which) {
    ErrorCode error = 0;
    if (!switches_.toggle(which, error)) {
        showError(boxes_, "The setting can't be kept", static_cast<std::int32_t>(error));
    }
    dialog.checkMenuItem(menuItemOf(which), switches_.isOn(which));
    if (which != AnswerSwitch::typeAnswer) return;
    verdict_.reset();
    if (showEntry(dialog)) clearEntry(dialog);
}

void TypedAnswers::enter(DialogPort& dialog) {
    if (!showEntry(dialog)) return;
    dialog.click(verdict_ ? suggested_ : ids::showButton);
}

void TypedAnswers::cardShown(DialogPort& dialog, const CardView&) {
    verdict_.reset();
    if (showEntry(dialog)) clearEntry(dialog);
}

void TypedAnswers::answerRevealed(DialogPort& dialog, const CardView& view) {
    revealedNow_ = true;
    if (!showEntry(dialog) || verdict_ || !view.currentCard) return;
    const std::string typed = dialog.controlText(ids::answerEntry);
    const std::string_view side = faceText(*view.currentCard, view.faces().revealed);
    const AnswerCheck check = checkAnswer(typed, side, switches_.settings(), knowledge_);
    const VerdictLine line = verdictLine(check, side);
    dialog.showResultLine(line.text, line.marked);
    verdict_ = check.verdict;
    // A card is checked once each time it comes up, so every right check is a
    // first try; the day's history counts it.
    if (countsAsRight(check.verdict) && deck_ != nullptr) deck_->tally(Tally::rightFirstTry);
    // Where a card can go neither up (box 6) nor back (box 1 already), it stays: Next.
    suggested_ = countsAsRight(check.verdict) ? ids::moveButton : ids::backButton;
    if (!dialog.isControlEnabled(suggested_)) suggested_ = ids::nextButton;
    dialog.setDefaultButton(suggested_);
}

void TypedAnswers::commandBegan(DialogPort&) { revealedNow_ = false; }

void TypedAnswers::commandEnded(DialogPort& dialog, CommandEnd& end) {
    // Edit mode, switched on or off, hides the entry or brings it back.
    const bool wasShown = entryShown_;
    if (showEntry(dialog) && !wasShown) clearEntry(dialog);
    // The card judged went (the last of its box) and none came in its place.
    if (verdict_ && !revealedNow_ && end.changedDeck) {
        verdict_.reset();
        if (entryShown_) clearEntry(dialog);
    }
}

bool TypedAnswers::showEntry(DialogPort& dialog) {
    const bool shown = switches_.isOn(AnswerSwitch::typeAnswer) && !isEditMode(dialog);
    if (shown != entryShown_) {
        dialog.showAnswerEntry(shown);
        entryShown_ = shown;
        if (!shown) dialog.setDefaultButton(ids::nextButton);  // the dialog as without the mode
    }
    return shown;
}

void TypedAnswers::clearEntry(DialogPort& dialog) {
    dialog.setControlText(ids::answerEntry, "");
    dialog.showResultLine("", {});
    dialog.setDefaultButton(ids::nextButton);
    dialog.setFocus(ids::answerEntry);
}
