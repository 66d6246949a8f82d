#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "cardfile/FileIdentity.h"
#include "model/CardBoxes.h"
#include "platform/DialogPort.h"
#include "platform/Platform.h"

// "Mnemoquill: " and the base name of `fileName` without its extension.
std::string windowTitle(const std::string& fileName);

// The card file the program works on: its name, whether there is one, its deck.
class CardFile {
public:
    explicit CardFile(Platform& platform);

    std::int32_t hasFile() const { return hasFile_; }
    const std::optional<std::string>& fileName() const { return fileName_; }
    std::uint32_t fileSize() const { return fileSize_; }
    const CardBoxes* deck() const { return deck_.get(); }
    std::unique_ptr<CardBoxes>& deckSlot() { return deck_; }

    // Each gives 1 on success, 0 when cancelled or failed (nothing changed then).
    int openCardFile(DialogPort& window);
    // The same for a file named otherwise than in the Open dialog.
    int openCardFileAt(DialogPort& window, const std::string& path);
    int loadCardFile(DialogPort& window);
    int newCardFile(DialogPort& window);
    // Saves the deck under a name chosen in the Save dialog, which then becomes
    // the card file's name.
    int saveCardFileAs(DialogPort& window);

    // Saves the deck in the card file: the one way the deck is written there. When
    // another program changed the file since it was read or last saved, first asks
    // whether to replace those changes. False when not saved (no file, No, failed).
    bool save(DialogPort& window);
    // The version of the card file this program read or last saved, and whether
    // the file on disk still is it.
    const FileIdentity& identity() const { return known_; }
    DiskState diskState();
    // A deck brought back after a crash becomes the card file's, as it knew the
    // file then: a save asks if the file has changed since.
    void adoptRecovered(DialogPort& window, const std::string& path,
                        std::unique_ptr<CardBoxes> deck, const FileIdentity& identity);

private:
    bool writeTo(const std::string& path);

    Platform& platform_;
    FileIdentity known_;
    std::int32_t hasFile_ = 0;
    std::uint32_t fileSize_ = 0;
    std::optional<std::string> fileName_;
    std::unique_ptr<CardBoxes> deck_;
};
