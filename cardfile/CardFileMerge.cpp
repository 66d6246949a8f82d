#include "cardfile/CardFileMerge.h"

#include <utility>

#include "cardfile/CardFileText.h"
#include "cardfile/CardReader.h"
#include "model/ConflictedCopies.h"
#include "platform/MessageBoxes.h"
#include "platform/WinConstants.h"

namespace {

// The reader's questions answered without a word: a file that holds no card is
// no deck to merge.
class QuietBoxes : public MessageBoxes {
public:
    int show(WindowRef, const std::string&, const char*, unsigned) override { return IDNO; }
};

}  // namespace

std::unique_ptr<CardBoxes> readDeckQuietly(FileSystem& files, const std::string& path) {
    ErrorCode error = 0;
    std::unique_ptr<InputFile> file = files.openForReading(path, error);
    CardFileText text;
    if (!file || !readCardFileText(*file, text, error) || text.bytes.empty() ||
        text.bytes[0] == '\0') {
        return nullptr;
    }
    auto deck = std::make_unique<CardBoxes>();
    QuietBoxes boxes;
    readCardFile(*deck, std::move(text), boxes);
    if (deck->isAborted() != 0) {
        return nullptr;
    }
    return deck;
}

std::optional<MergedDeck> mergeWithCardFile(const CardBoxes& base, const CardBoxes& mine,
                                            const std::string& path, FileSystem& files) {
    const std::unique_ptr<CardBoxes> theirs = readDeckQuietly(files, path);
    if (!theirs) {
        return std::nullopt;
    }
    return mergeDecks(&base, mine, *theirs);
}

std::vector<ConflictedCopy> readConflictedCopies(FileSystem& files, const std::string& deckPath,
                                                 const CardBoxes& deck,
                                                 const std::vector<std::string>& names) {
    const std::string folder = deckPath.substr(0, deckPath.find_last_of("\\/") + 1);
    std::vector<ConflictedCopy> copies;
    for (const std::string& name : conflictedCopyNames(deckPath, names)) {
        std::unique_ptr<CardBoxes> copy = readDeckQuietly(files, folder + name);
        if (copy && sharesMostCards(deck, *copy)) {
            copies.push_back({folder + name, std::move(copy)});
        }
    }
    return copies;
}
