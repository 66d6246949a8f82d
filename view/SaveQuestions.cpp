#include "view/SaveQuestions.h"

#include <optional>
#include <string>
#include <utility>

#include "platform/WinConstants.h"
#include "view/MergeQuestions.h"

namespace {
bool holdsAnyCard(const CardBoxes& deck) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        if (deck.count(box) > 0) {
            return true;
        }
    }
    return false;
}
}  // namespace

SaveQuestions::SaveQuestions(Platform& platform, CardFile& file, CardView& view,
                             RecoveryKeeper& recovery, Features& features, TakeDeck takeDeck)
    : platform_(platform),
      file_(file),
      view_(view),
      recovery_(recovery),
      features_(features),
      takeDeck_(std::move(takeDeck)) {}

bool SaveQuestions::askToSave(DialogPort& dialog) {
    if (!file_.hasFile()) {
        return true;
    }
    const int answer = platform_.messageBoxes.show(noWindow, "Save CardFile ?", "Save ?",
                                                   MB_YESNO | MB_ICONQUESTION);
    return answer != IDYES || saveWithEdits(dialog);
}

bool SaveQuestions::askBeforeReplacing(DialogPort& dialog) {
    // Any card counts, also one inserted into a deck that started empty: the reader's
    // hasCards flag would let such a deck go without asking.
    const CardBoxes* deck = file_.deck();
    if (!file_.hasFile() || deck == nullptr || !holdsAnyCard(*deck)) {
        return true;
    }
    const int answer = platform_.messageBoxes.show(dialog.window(), "Save CardFile?", "Save ?",
                                                   MB_YESNO | MB_ICONQUESTION);
    return answer != IDYES || saveWithEdits(dialog);
}

bool SaveQuestions::saveWithEdits(DialogPort& dialog) {
    keepTypedText(view_, dialog);
    const int box = getSelectedBox(dialog);
    const CardRef shown = view_.currentCard;
    const bool saved = file_.save(dialog, [&dialog](const std::string& fileName) {
        return changedFileChoice(dialog.askChangedFile(changedFileQuestion(fileName)));
    });
    if (const std::optional<MergeSummary> merged = file_.takeMerge()) {
        // The merged deck replaced this one, in the box that was shown.
        takeDeck_(dialog, box, shown);
        if (!saved) {
            // Not in the card file: the record holds the merged deck until a save.
            recovery_.resume(*file_.deckSlot(), file_, 1, platform_.clock.now(),
                             getSelectedBox(dialog));
            return false;
        }
        platform_.messageBoxes.show(dialog.window(), mergeSummaryLine(*merged), "Mnemoquill",
                                    MB_OK | MB_ICONINFORMATION);
    } else if (!saved) {
        return false;
    }
    features_.deckSaved(dialog);
    return true;
}
