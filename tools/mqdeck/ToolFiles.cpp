#include "tools/mqdeck/ToolFiles.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <utility>

#include "cardfile/CardFileText.h"
#include "cardfile/CardReader.h"
#include "cardfile/CardSave.h"
#include "cardfile/CardWriter.h"
#include "platform/WinConstants.h"
#include "tools/mqdeck/ConsoleBoxes.h"
#include "tools/mqdeck/StdFileSystem.h"

namespace {

std::string whyFailed(ErrorCode error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return "no such file";
        case ERROR_PATH_NOT_FOUND:
            return "no such file or folder";
        case ERROR_ACCESS_DENIED:
            return "access denied";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "the disk is full";
        case ERROR_INVALID_NAME:
            return "not a valid file name";
        default:
            return "error " + std::to_string(error);
    }
}

bool isFolder(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(nativePath(path), ignored);
}

bool reportFolder(const std::string& path, std::ostream& err) {
    err << "mqdeck: " << path << " is a folder, not a file\n";
    return false;
}

// The file to read, or nothing once the reason is told.
std::unique_ptr<InputFile> openInput(FileSystem& files, const std::string& path,
                                     std::ostream& err) {
    if (isFolder(path)) {
        reportFolder(path, err);
        return nullptr;
    }
    ErrorCode error = 0;
    std::unique_ptr<InputFile> file = files.openForReading(path, error);
    if (!file) {
        err << "mqdeck: cannot open " << path << ": " << whyFailed(error) << '\n';
    }
    return file;
}

}  // namespace

bool readInputFile(FileSystem& files, const std::string& path, std::string& bytes,
                   std::ostream& err) {
    std::unique_ptr<InputFile> file = openInput(files, path, err);
    if (!file) {
        return false;
    }
    ErrorCode error = 0;
    if (!readToEnd(*file, bytes, error)) {
        err << "mqdeck: cannot read " << path << ": " << whyFailed(error) << '\n';
        return false;
    }
    return true;
}

bool readDeckFile(FileSystem& files, const std::string& path, CardBoxes& deck, std::ostream& err,
                  bool goOn) {
    std::unique_ptr<InputFile> file = openInput(files, path, err);
    if (!file) {
        return false;
    }
    ErrorCode error = 0;
    CardFileText text;
    if (!readCardFileText(*file, text, error)) {
        err << "mqdeck: cannot read " << path << ": " << whyFailed(error) << '\n';
        return false;
    }
    if (text.bytes.empty() || text.bytes[0] == '\0') {
        err << "mqdeck: " << path << " holds no text\n";
        return false;
    }
    ConsoleMessageBoxes boxes(err, goOn);
    readCardFile(deck, std::move(text), boxes);
    if (deck.isAborted() != 0) {
        err << "mqdeck: " << path << " holds no card file: left as it is\n";
        return false;
    }
    return true;
}

bool saveDeckFile(FileSystem& files, const std::string& path, CardBoxes& deck, std::ostream& err) {
    ConsoleMessageBoxes boxes(err);
    if (!writeDeckToFile(deck, path, files, boxes)) {
        err << "mqdeck: cannot save " << path << '\n';
        return false;
    }
    return true;
}

bool saveTextFile(FileSystem& files, const std::string& path, const std::string& bytes,
                  std::ostream& err) {
    if (isFolder(path)) {
        return reportFolder(path, err);
    }
    ConsoleMessageBoxes boxes(err);
    if (!saveCardText(bytes, path, files, boxes)) {
        err << "mqdeck: cannot save " << path << '\n';
        return false;
    }
    return true;
}
