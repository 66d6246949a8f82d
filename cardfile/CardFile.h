#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cardfile/FileIdentity.h"
#include "model/CardBoxes.h"
#include "model/DeckMerge.h"
#include "platform/Platform.h"
#include "platform/WindowPort.h"

// "Mnemoquill: " and the base name of `fileName` without its extension.
std::string windowTitle(const std::string& fileName);

// Saving over a card file that another program changed since it was read or saved.
enum class ChangedFileChoice { merge, replace, cancel };
// Asks the user that, naming the card file.
using ChangedFileQuestion = std::function<ChangedFileChoice(const std::string& fileName)>;

// The card file the program works on: its name, whether there is one, its deck.
class CardFile {
public:
    explicit CardFile(Platform& platform);

    bool hasFile() const { return hasFile_; }
    const std::optional<std::string>& fileName() const { return fileName_; }
    const CardBoxes* deck() const { return deck_.get(); }
    std::unique_ptr<CardBoxes>& deckSlot() { return deck_; }

    // Each is true on success, false when cancelled or failed (nothing changed then).
    bool openCardFile(WindowPort& window);
    // The same for a file named otherwise than in the Open dialog.
    bool openCardFileAt(WindowPort& window, const std::string& path);
    bool loadCardFile(WindowPort& window);
    bool newCardFile(WindowPort& window);
    // Saves the deck under a name chosen in the Save dialog, which then becomes
    // the card file's name.
    bool saveCardFileAs(WindowPort& window);

    // Saves the deck in the card file: the one way the deck is written there. When
    // another program changed the file since it was read or last saved, first asks
    // `ask`: Merge makes the deck one with the file as it is now (takeMerge() then
    // tells, whether or not the save went through), Replace saves over those
    // changes. False when not saved (no file, Cancel, failed).
    bool save(WindowPort& window, const ChangedFileQuestion& ask);
    // Merges each copy into the deck, as two copies of unknown descent, and saves
    // it (takeMerge() then tells); false when the save failed.
    bool mergeCopies(const std::vector<std::unique_ptr<CardBoxes>>& copies);
    // What the last merge did, once: the deck is the merged one since.
    std::optional<MergeSummary> takeMerge() { return std::exchange(merged_, std::nullopt); }
    // The version of the card file this program read or last saved, and whether
    // the file on disk still is it.
    const FileIdentity& identity() const { return known_; }
    DiskState diskState();
    // A deck brought back after a crash becomes the card file's, as it knew the
    // file then: a save asks if the file has changed since.
    void adoptRecovered(WindowPort& window, const std::string& path,
                        std::unique_ptr<CardBoxes> deck, const FileIdentity& identity);

private:
    bool writeTo(const std::string& path);
    bool mergeAndSave(WindowPort& window);

    Platform& platform_;
    FileIdentity known_;
    bool hasFile_ = false;
    std::optional<std::string> fileName_;
    std::unique_ptr<CardBoxes> deck_;
    // The deck as the card file held it when it was last read or saved, the base of
    // a merge with what another program saved since; none for a deck brought back
    // after a crash, which then merges without one.
    std::unique_ptr<CardBoxes> base_;
    std::optional<MergeSummary> merged_;
};
