#include "cardfile/CardSave.h"

#include <memory>
#include <optional>

#include "platform/MQMessage.h"
#include "platform/WinConstants.h"

namespace {

// U+0081 and u-umlaut, as the code page 1252 bytes 0x81 0xFC always showed.
const char* const invalidNameText = "Ungl\xC2\x81\xC3\xBCltiger Dateiname";
const char* const invalidHandleText = "Invalid Handle; write";
const char* const createErrorText = "CreateFileHandle ERR: ";
const char* const writeErrorText = "WriteFile-Fehler";
const char* const keptCopyText = "The saved cards are kept in ";

// Short, so that the copy's path is hardly ever longer than the card file's.
const char* const temporaryStem = "~mqsave";
const char* const temporaryExtension = ".tmp";
constexpr int temporaryNameTries = 100;

std::int32_t asShownCode(ErrorCode error) { return static_cast<std::int32_t>(error); }

bool is(ErrorCode error, long code) { return error == static_cast<ErrorCode>(code); }

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

struct Temporary {
    std::string path;
    std::unique_ptr<OutputFile> file;
};

Temporary createTemporary(const std::string& folder, FileSystem& files, ErrorCode& error) {
    for (int attempt = 0; attempt < temporaryNameTries; ++attempt) {
        std::string path = folder + temporaryStem +
                           (attempt == 0 ? std::string() : std::to_string(attempt)) +
                           temporaryExtension;
        if (std::unique_ptr<OutputFile> file = files.createNew(path, error)) {
            return {std::move(path), std::move(file)};
        }
        if (!is(error, ERROR_FILE_EXISTS) && !is(error, ERROR_ALREADY_EXISTS)) {
            break;
        }
    }
    return {};
}

bool writeAndCommit(OutputFile& file, const TextPieces& text, ErrorCode& error) {
    return text([&](const std::string& piece) { return writeWhole(file, piece, error); }) &&
           file.commit(error);
}

// Reads the file back, piece by piece against the text: an overwrite in place is
// trusted only once the disk gives back exactly what was meant to be there.
bool holdsExactly(FileSystem& files, const std::string& path, const TextPieces& text,
                  ErrorCode& error) {
    std::unique_ptr<InputFile> file = files.openForReading(path, error);
    if (!file) {
        return false;
    }
    std::string bytes;
    bool readFailed = false;
    bool same = text([&](const std::string& piece) {
        bytes.clear();
        readFailed = !readUpTo(*file, bytes, piece.size(), error);
        return !readFailed && bytes == piece;
    });
    if (same) {
        // Nothing may follow the text.
        bytes.clear();
        readFailed = !readUpTo(*file, bytes, 1, error);
        same = bytes.empty();
    }
    if (readFailed) {
        return false;
    }
    if (!same) {
        error = static_cast<ErrorCode>(ERROR_WRITE_FAULT);
    }
    return same;
}

// The card file cannot be replaced (another program holds it open without letting
// it be renamed, or the copy had to go to another folder), so its own bytes are
// overwritten. The complete copy stays until they are known to be on the disk.
bool overwriteInPlace(const TextPieces& text, const std::string& target, bool exists,
                      const std::string& copy, FileSystem& files, MessageBoxes& boxes) {
    ErrorCode error = 0;
    std::unique_ptr<OutputFile> file =
        exists ? files.openForOverwriting(target, error) : files.createForWriting(target, error);
    if (!file) {
        files.remove(copy);
        reportCreateFailure(error, boxes);
        return false;
    }
    bool written = writeAndCommit(*file, text, error);
    file.reset();
    written = written && holdsExactly(files, target, text, error);
    if (!written) {
        showError(boxes, writeErrorText, asShownCode(error), keptCopyText + copy);
        return false;
    }
    files.remove(copy);
    return true;
}

}  // namespace

void reportCreateFailure(ErrorCode error, MessageBoxes& boxes) {
    const unsigned okOnly = static_cast<unsigned>(MB_OK);
    if (is(error, ERROR_INVALID_NAME)) {
        boxes.show(noWindow, invalidNameText, nullptr, okOnly);
    } else if (is(error, ERROR_SUCCESS) || is(error, ERROR_ALREADY_EXISTS)) {
        // Codes that normally mean success: no better explanation to give.
        boxes.show(noWindow, invalidHandleText, nullptr, okOnly);
    } else {
        showError(boxes, createErrorText, asShownCode(error));
    }
}

bool saveCardText(const std::string& text, const std::string& fileName, FileSystem& files,
                  MessageBoxes& boxes) {
    return saveCardText([&text](const PieceTaker& take) { return take(text); }, fileName, files,
                        boxes);
}

bool saveCardText(const TextPieces& text, const std::string& fileName, FileSystem& files,
                  MessageBoxes& boxes) {
    // Through a link the file it leads to is saved, and the link stays a link.
    const std::string target = files.finalPath(fileName);

    // Whatever would keep the file from being emptied and written (read-only, held
    // by a program that shares no writing, a folder gone) stops the save before
    // anything is written, with the box that writing it would have given.
    ErrorCode error = 0;
    const bool exists = files.openForOverwriting(target, error) != nullptr;
    if (!exists && !is(error, ERROR_FILE_NOT_FOUND)) {
        reportCreateFailure(error, boxes);
        return false;
    }
    const std::optional<std::uint32_t> attributes =
        exists ? files.attributes(target) : std::nullopt;

    // The new text goes to a copy first, beside the file so it can be renamed into
    // place. A folder that takes no new file may still let the file itself be
    // written: the copy then waits in the user's temporary folder.
    Temporary copy = createTemporary(folderOf(target), files, error);
    const bool beside = copy.file != nullptr;
    if (!beside) {
        ErrorCode elsewhere = 0;
        copy = createTemporary(files.temporaryFolder(), files, elsewhere);
        if (!copy.file) {
            reportCreateFailure(error, boxes);
            return false;
        }
    }
    const bool copied = writeAndCommit(*copy.file, text, error);
    copy.file.reset();  // closed: an open file can be neither moved nor removed
    if (!copied) {
        files.remove(copy.path);
        showError(boxes, writeErrorText, asShownCode(error));
        return false;
    }

    if (beside && files.replace(copy.path, target, error)) {
        // The renamed copy came with attributes of its own.
        ErrorCode ignored = 0;
        if (attributes) {
            files.setAttributes(target, *attributes, ignored);
        }
        return true;
    }
    return overwriteInPlace(text, target, exists, copy.path, files, boxes);
}
