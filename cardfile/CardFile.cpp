#include "cardfile/CardFile.h"

#include <algorithm>
#include <utility>

#include "cardfile/CardFileMerge.h"
#include "cardfile/CardFileText.h"
#include "cardfile/CardFormat.h"
#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "platform/MQMessage.h"
#include "platform/WinConstants.h"

namespace {

const char* const titlePrefix = "Mnemoquill: ";
// Lies in the current directory; rewritten on every open, never read back.
const char* const backupName = "mq_tmp.txt";
const char* const sorryCaption = "Sorry.";
const char* const noNameText =
    "Anyhow, I can't figure out the filename.\nOK proceeds with violated datas.\nCancel is a "
    "good idea.";
const char* const cannotOpenText =
    "Anyhow, I can't open this file properly.\nOK proceeds with violated datas.\nCancel is a "
    "good idea.";
const char* const noCardDataText =
    "Couldn't read any card datas!\nIf you want creating a new file use Ctrl+N.";
const char* const readErrorText = "ReadFile-Fehler";
const char* const unreadableText =
    "Nothing was merged or saved: the card file can't be read as a card file now.\n\n";

// Hashes the bytes as the reader takes them, so the whole file is read only once.
class HashingInput : public InputFile {
public:
    HashingInput(InputFile& file, ContentHash& hash) : file_(file), hash_(hash) {}
    std::uint32_t size() override { return file_.size(); }
    bool read(std::string& out, std::uint32_t count, ErrorCode& error) override {
        const std::size_t start = out.size();
        const bool read = file_.read(out, count, error);
        hash_.add(std::string_view(out).substr(start));
        return read;
    }

private:
    InputFile& file_;
    ContentHash& hash_;
};

// Nothing is reported: the copy is a courtesy, and the load reports whatever is
// wrong with the file. It goes a piece at a time, since fresh memory for a whole
// large deck costs more than the copy itself (under Wine, several ms per MB).
void copyToBackup(FileSystem& files, const std::string& fileName) {
    // Opening the copy itself: it holds the bytes already, and emptying it to
    // copy it onto itself would destroy them.
    if (files.finalPath(fileName) == files.finalPath(backupName)) {
        return;
    }
    ErrorCode ignored = 0;
    std::unique_ptr<InputFile> original = files.openForReading(fileName, ignored);
    std::unique_ptr<OutputFile> backup = files.createForWriting(backupName, ignored);
    if (!backup) {
        return;
    }
    const std::uint32_t pieceBytes = original ? pieceBytesFor(original->size()) : 0;
    std::string piece;
    piece.reserve(pieceBytes);
    bool reading = original != nullptr;
    while (reading) {
        piece.clear();
        // A failed read still copies what arrived before it.
        reading = original->read(piece, pieceBytes, ignored) && !piece.empty();
        if (!piece.empty() && !writeWhole(*backup, piece, ignored)) {
            return;
        }
    }
    // A courtesy copy: waiting for the disk would cost a large deck's open dearly.
    backup->close(ignored);
}

}  // namespace

std::string windowTitle(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of('\\');
    const std::string baseName = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    return titlePrefix + baseName.substr(0, baseName.find_last_of('.'));
}

CardFile::CardFile(Platform& platform) : platform_(platform) {}

bool CardFile::openCardFile(WindowPort& window) {
    std::optional<std::string> chosen = platform_.fileDialogs.chooseFileToOpen(window.window());
    if (!chosen) {
        return false;
    }
    return openCardFileAt(window, *chosen);
}

bool CardFile::openCardFileAt(WindowPort& window, const std::string& path) {
    std::optional<std::string> previousName = std::exchange(fileName_, path);
    if (!loadCardFile(window)) {
        fileName_ = std::move(previousName);
        return false;
    }
    window.setTitle(windowTitle(*fileName_));
    return true;
}

bool CardFile::loadCardFile(WindowPort& window) {
    FileSystem& files = platform_.files;
    MessageBoxes& boxes = platform_.messageBoxes;

    if (fileName_) {
        copyToBackup(files, *fileName_);
    }

    ErrorCode error = 0;
    std::unique_ptr<InputFile> file;
    // Taken before reading: a write while the file is read shows in the time.
    std::optional<FileIdentity> identity;
    if (fileName_) {
        identity = identityOnDisk(files, *fileName_);
        file = files.openForReading(*fileName_, error);
    }
    ContentHash hash;
    CardFileText text;
    if (!file) {
        const unsigned type = static_cast<unsigned>(MB_OKCANCEL | MB_ICONERROR | MB_DEFBUTTON2);
        const char* const why = fileName_ ? cannotOpenText : noNameText;
        if (boxes.show(window.window(), why, sorryCaption, type) == IDCANCEL) {
            return false;
        }
        // OK goes on without a file, and the read fails as it does on a handle
        // that was never opened.
        showError(boxes, readErrorText, static_cast<std::int32_t>(ERROR_INVALID_HANDLE));
    } else {
        HashingInput hashing(*file, hash);
        if (!readCardFileText(hashing, text, error)) {
            showError(boxes, readErrorText, static_cast<std::int32_t>(error));
        }
        file.reset();
    }

    std::string& cards = text.bytes;
    cards.resize(cardTextEnd(cards));
    if (cards.empty()) {
        boxes.show(window.window(), noCardDataText, sorryCaption,
                   static_cast<unsigned>(MB_ICONERROR));
        return false;
    }

    auto deck = std::make_unique<CardBoxes>();
    // The deck keeps the bytes its cards refer to; handing them over saves a copy.
    readCardFile(*deck, std::move(text), boxes);
    if (deck->isAborted() != 0) {
        return false;
    }
    deck_ = std::move(deck);
    base_ = copyOfDeck(*deck_);
    hasFile_ = true;
    known_ = identity.value_or(FileIdentity{});
    known_.hash = hash.value();
    return true;
}

bool CardFile::newCardFile(WindowPort& window) {
    std::optional<std::string> chosen = platform_.fileDialogs.chooseFileToSave(window.window());
    if (!chosen) {
        return false;
    }
    deck_.reset();
    // A file chosen to be overwritten is what this program knows of it.
    known_ = identityOnDisk(platform_.files, *chosen).value_or(FileIdentity{});
    fileName_ = std::move(chosen);
    window.setTitle(windowTitle(*fileName_));
    hasFile_ = true;
    // The file itself appears with the first save.
    deck_ = std::make_unique<CardBoxes>();
    base_ = std::make_unique<CardBoxes>();
    return true;
}

bool CardFile::saveCardFileAs(WindowPort& window) {
    if (!hasFile_ || !deck_) {
        return false;
    }
    std::optional<std::string> chosen = platform_.fileDialogs.chooseFileToSave(window.window());
    if (!chosen || !writeTo(*chosen)) {
        return false;
    }
    fileName_ = std::move(chosen);
    window.setTitle(windowTitle(*fileName_));
    return true;
}

bool CardFile::save(WindowPort& window, const ChangedFileQuestion& ask) {
    if (!hasFile_ || !fileName_ || fileName_->empty() || !deck_) {
        return false;
    }
    if (diskState() == DiskState::changed) {
        switch (ask(*fileName_)) {
            case ChangedFileChoice::cancel:
                return false;
            case ChangedFileChoice::merge:
                return mergeAndSave(window);
            case ChangedFileChoice::replace:
                break;
        }
    }
    return writeTo(*fileName_);
}

bool CardFile::mergeCopies(const std::vector<std::unique_ptr<CardBoxes>>& copies) {
    MergeSummary total;
    for (const std::unique_ptr<CardBoxes>& copy : copies) {
        MergedDeck merged = mergeDecks(nullptr, *deck_, *copy);
        deck_ = std::make_unique<CardBoxes>(std::move(merged.deck));
        total += merged.summary;
    }
    merged_ = total;
    return writeTo(*fileName_);
}

bool CardFile::mergeAndSave(WindowPort& window) {
    // Taken before reading, as for an open: a write meanwhile shows in the time.
    const std::optional<FileIdentity> identity = identityOnDisk(platform_.files, *fileName_);
    std::unique_ptr<CardBoxes> theirs = readDeckQuietly(platform_.files, *fileName_);
    if (!theirs) {
        platform_.messageBoxes.show(window.window(), unreadableText + *fileName_, "Mnemoquill",
                                    static_cast<unsigned>(MB_OK | MB_ICONERROR));
        return false;
    }
    MergedDeck merged = mergeDecks(base_.get(), *deck_, *theirs);
    deck_ = std::make_unique<CardBoxes>(std::move(merged.deck));
    merged_ = merged.summary;
    // Should the save fail, the merged deck holds the file's changes already: its
    // next save asks only about changes made after these, and merges over them.
    known_ = identity.value_or(FileIdentity{});
    base_ = std::move(theirs);
    return writeTo(*fileName_);
}

bool CardFile::writeTo(const std::string& path) {
    std::uint64_t hash = 0;
    if (!writeDeckToFile(*deck_, path, platform_.files, platform_.messageBoxes, &hash)) {
        return false;
    }
    known_ = identityOnDisk(platform_.files, path).value_or(FileIdentity{});
    known_.hash = hash;
    base_ = copyOfDeck(*deck_);
    return true;
}

DiskState CardFile::diskState() {
    if (!fileName_) {
        return DiskState::same;
    }
    return compareWithDisk(platform_.files, *fileName_, known_);
}

void CardFile::adoptRecovered(WindowPort& window, const std::string& path,
                              std::unique_ptr<CardBoxes> deck, const FileIdentity& identity) {
    deck_ = std::move(deck);
    base_.reset();
    fileName_ = path;
    known_ = identity;
    hasFile_ = true;
    window.setTitle(windowTitle(path));
}
