#include "view/ConflictedCopiesOffer.h"

#include <memory>
#include <string>
#include <vector>

#include "cardfile/CardFileMerge.h"
#include "platform/WinConstants.h"
#include "view/MergeQuestions.h"

void offerConflictedCopies(CardFile& file, Platform& platform, DialogPort& dialog,
                           RecoveryKeeper& recovery, const std::function<void()>& takeDeck) {
    const std::optional<std::string>& path = file.fileName();
    if (!path || file.deck() == nullptr) {
        return;
    }
    const std::string folder = path->substr(0, path->find_last_of("\\/") + 1);
    std::vector<ConflictedCopy> copies = readConflictedCopies(platform.files, *path, *file.deck(),
                                                              platform.files.fileNamesIn(folder));
    std::vector<std::string> paths;
    std::vector<std::unique_ptr<CardBoxes>> decks;
    for (ConflictedCopy& copy : copies) {
        paths.push_back(copy.path);
        decks.push_back(std::move(copy.deck));
    }
    if (paths.empty() ||
        platform.messageBoxes.show(dialog.window(), conflictedCopiesQuestion(paths), "Mnemoquill",
                                   MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    const bool saved = file.mergeCopies(decks);
    const std::optional<MergeSummary> merged = file.takeMerge();
    takeDeck();
    if (!saved) {
        recovery.resume(*file.deck(), file, 1, platform.clock.now(), 1);
        return;
    }
    for (const std::string& copy : paths) {
        platform.files.moveToRecycleBin(copy);
    }
    platform.messageBoxes.show(dialog.window(), mergeSummaryLine(*merged), "Mnemoquill",
                               MB_OK | MB_ICONINFORMATION);
}
