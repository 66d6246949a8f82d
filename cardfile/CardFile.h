#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

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

private:
    Platform& platform_;
    std::int32_t hasFile_ = 0;
    std::uint32_t fileSize_ = 0;
    std::optional<std::string> fileName_;
    std::unique_ptr<CardBoxes> deck_;
};
