#include "view/MergeQuestions.h"

#include "platform/WinConstants.h"
#include "view/ControlIds.h"

std::string changedFileQuestion(const std::string& fileName) {
    return "The card file was changed by another program since it was opened.\n\n" + fileName +
           "\n\nMerge keeps what was learned and typed both here and there. Replace saves the "
           "cards shown here over those changes. Cancel saves nothing; Save As can still save "
           "them under another name.";
}

ChangedFileChoice changedFileChoice(int button) {
    switch (button) {
        case ids::mergeButton:
            return ChangedFileChoice::merge;
        case ids::replaceButton:
            return ChangedFileChoice::replace;
        default:
            return ChangedFileChoice::cancel;
    }
}

std::string conflictedCopiesQuestion(const std::vector<std::string>& paths) {
    std::string text =
        "A sync program kept copies of this card file beside it, saved on another computer:\n";
    for (const std::string& path : paths) {
        text += "\n" + path.substr(path.find_last_of("\\/") + 1);
    }
    return text +
           "\n\nDo you want to merge them into it? Yes keeps what was learned and typed in "
           "each, saves the card file and moves the copies to the Recycle Bin. No leaves "
           "everything as it is.";
}
