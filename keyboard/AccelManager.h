#pragma once
#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

// One remapping, laid out like the platform's ACCEL: the modifier flags and the
// virtual-key code to match, and the character a matching key-down becomes.
struct AccelEntry {
    std::uint8_t fVirt = 0;
    std::uint16_t key = 0;
    std::uint16_t cmd = 0;
};

// Turns key-down messages into characters as the user's accels.txt says, before
// the resource accelerators or the dialog manager see them.
class AccelManager {
public:
    static constexpr int maxEntries = 100;
    static constexpr std::size_t maxWordLength = 1023;
    using Table = std::array<AccelEntry, maxEntries>;

    // The instance is accepted for the shell's convenience and not needed.
    explicit AccelManager(const void* instance = nullptr,
                          const std::string& fileName = "accels.txt");

    // 1 when the file could be opened and was read, 0 (nothing changed) otherwise.
    int readAccelFile();
    // Reads a table from the text of an accels file, replacing any earlier one.
    void readAccelText(std::istream& in);

    // Tracks the modifiers and may rewrite a key-down into WM_CHAR in place.
    void filterMessage(unsigned& message, std::uintptr_t& wParam);

    // The flag bit a word names, 0 for any other word.
    static std::uint8_t flagFromName(const std::string& word);

    // Null until a file was read.
    const Table* entries() const { return entries_.get(); }
    std::int32_t entryCount() const { return entryCount_; }
    std::int32_t modifierState() const { return modifierState_; }

private:
    std::unique_ptr<Table> entries_;
    std::int32_t entryCount_ = -1;
    std::int32_t modifierState_ = 0;
    std::string fileName_;
};
