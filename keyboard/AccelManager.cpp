#include "keyboard/AccelManager.h"

#include <cstring>
#include <fstream>
#include <iostream>
#include <istream>

#include "platform/TextCoding.h"
#include "platform/WinConstants.h"

namespace {

// The C locale's white space, as a formatted read of the file would see it.
bool isBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the next white-space separated word. Words were C strings in the file's
// first readers, so whatever follows a NUL inside a word is not part of it.
// A word longer than the limit is skipped whole rather than split, so that its
// tail cannot masquerade as flags, keys or separators.
bool nextWord(std::streambuf& in, std::string& word) {
    using Traits = std::streambuf::traits_type;
    for (;;) {
        int c = in.sbumpc();
        while (c != Traits::eof() && isBlank(c)) {
            c = in.sbumpc();
        }
        if (c == Traits::eof()) {
            return false;
        }
        word.clear();
        std::size_t length = 0;
        for (; c != Traits::eof() && !isBlank(c); c = in.sbumpc()) {
            if (++length <= AccelManager::maxWordLength) {
                word.push_back(Traits::to_char_type(c));
            }
        }
        if (length <= AccelManager::maxWordLength) {
            word.resize(std::strlen(word.c_str()));
            return true;
        }
    }
}

// What atoi gives, except that an overlong number wraps instead of being
// undefined; only its low 16 bits and whether it is 0 matter here.
std::int32_t leadingNumber(const std::string& word) {
    std::size_t i = 0;
    while (i < word.size() && isBlank(static_cast<unsigned char>(word[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
        negative = word[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(word[i] - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<std::int32_t>(value);
}

const std::string separator = "::";

enum Field { flagsField = 0, keyField = 1, valueField = 2 };

const char* baseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') {
            name = p + 1;
        }
    }
    return name;
}

}  // namespace

AccelManager::AccelManager(const void* /*instance*/, const std::string& fileName)
    : fileName_(fileName) {
    std::cout << baseName(__FILE__) << ":AccelManager: " << __LINE__ << ": constructor\n"
              << std::flush;
    readAccelFile();
}

int AccelManager::readAccelFile() {
    // Binary: line ends carry no meaning, and a missing file must not be created.
    std::ifstream file(fileName_, std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        return 0;
    }
    readAccelText(file);
    return 1;
}

void AccelManager::readAccelText(std::istream& in) {
    entries_ = std::make_unique<Table>();
    int field = flagsField;
    AccelEntry entry;
    std::int32_t completed = 0;
    std::string word;
    std::streambuf* buffer = in.rdbuf();
    while (buffer != nullptr && nextWord(*buffer, word)) {
        if (word == separator) {
            // A separator in the value field pushes the field past it for good:
            // only a completed value starts the next entry, so nothing more is read.
            if (field <= valueField) {
                ++field;
            }
            continue;
        }
        if (field == flagsField) {
            entry.fVirt = static_cast<std::uint8_t>(entry.fVirt | flagFromName(word));
        } else if (field == keyField) {
            const auto code = static_cast<signed char>(word.empty() ? '\0' : word[0]);
            entry.key = static_cast<std::uint16_t>(static_cast<std::int16_t>(code));
        } else if (field == valueField) {
            const std::int32_t number = leadingNumber(word);
            entry.cmd = number != 0 ? static_cast<std::uint16_t>(number)
                                    : static_cast<std::uint16_t>(
                                          static_cast<unsigned char>(word.empty() ? 0 : word[0]));
            // The file's bytes are code page 1252, and the character messages they
            // become carry UTF-16: 0x80 is the euro sign, as it always was.
            if (entry.cmd >= 0x80 && entry.cmd <= 0xFF) {
                entry.cmd = static_cast<std::uint16_t>(
                    cp1252CodePoint(static_cast<unsigned char>(entry.cmd)));
            }
            // Entries past the table are read and dropped, so that the rest of
            // the file is still checked the same way but nothing lands beyond it.
            if (completed < maxEntries) {
                (*entries_)[static_cast<std::size_t>(completed)] = entry;
                ++completed;
            }
            entry = AccelEntry();
            field = flagsField;
        }
    }
    entryCount_ = completed;
}

void AccelManager::filterMessage(unsigned& message, std::uintptr_t& wParam) {
    if (entryCount_ == 0) {
        return;
    }
    const bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (keyDown) {
        if (wParam == VK_CONTROL) {
            modifierState_ |= FCONTROL;
        } else if (wParam == VK_SHIFT) {
            modifierState_ |= FSHIFT;
        } else if (wParam == VK_MENU) {
            modifierState_ |= FALT;
        }
    }
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        modifierState_ = 0;
    }
    if (keyDown && entries_ != nullptr) {
        // No break on a match: each later entry sees the message as the earlier
        // ones left it, which is what lets entries chain.
        for (std::int32_t i = 0; i < entryCount_; ++i) {
            const AccelEntry& entry = (*entries_)[static_cast<std::size_t>(i)];
            if (entry.fVirt == modifierState_ && entry.key == wParam) {
                message = WM_CHAR;
                wParam = entry.cmd;
            }
        }
    }
}

std::uint8_t AccelManager::flagFromName(const std::string& word) {
    if (word == "FALT") {
        return FALT;
    }
    if (word == "FCONTROL") {
        return FCONTROL;
    }
    if (word == "FNOINVERT") {
        return FNOINVERT;
    }
    if (word == "FSHIFT") {
        return FSHIFT;
    }
    if (word == "FVIRTKEY") {
        return FVIRTKEY;
    }
    return 0;
}
