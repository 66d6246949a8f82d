#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/CardBoxes.h"
#include "model/DeckMerge.h"
#include "platform/FileSystem.h"

// The deck the card file `path` holds now, read without a question: nothing when
// it cannot be read or holds no card, which a merge must not take for a deck
// whose cards were all deleted.
std::unique_ptr<CardBoxes> readDeckQuietly(FileSystem& files, const std::string& path);

// Merges `mine` with the card file as it is on disk now (theirs), given `base`,
// the deck as the card file held it when this program last read or saved it.
// Nothing when the file cannot be read.
std::optional<MergedDeck> mergeWithCardFile(const CardBoxes& base, const CardBoxes& mine,
                                            const std::string& path, FileSystem& files);

// A conflicted copy found beside a deck, read.
struct ConflictedCopy {
    std::string path;
    std::unique_ptr<CardBoxes> deck;
};

// Of `names` in the folder of `deckPath`, those a sync client gave conflicted
// copies of it that hold most of `deck`'s cards, read. A file that only looks
// like one by its name is never taken.
std::vector<ConflictedCopy> readConflictedCopies(FileSystem& files, const std::string& deckPath,
                                                 const CardBoxes& deck,
                                                 const std::vector<std::string>& names);
