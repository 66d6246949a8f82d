#include "cardfile/CardWriter.h"

#include "cardfile/CardFile.h"
#include "platform/MQMessage.h"
#include "platform/WinConstants.h"

namespace {

const char* const invalidNameText = "Ungl\x81\xFCltiger Dateiname";
const char* const invalidHandleText = "Invalid Handle; write";
const char* const createErrorText = "CreateFileHandle ERR: ";
const char* const writeErrorText = "WriteFile-Fehler";

// The new text is written beside the card file and only then put in its place, so
// a save that fails half-way leaves the old file as it was.
const char* const saveSuffix = ".mqsave";

std::int32_t asShownCode(ErrorCode error) { return static_cast<std::int32_t>(error); }

void appendField(std::string& text, const char* open, const std::string& value, const char* close) {
    text += open;
    text += value;
    text += close;
    text += "\r\n";
}

}  // namespace

std::string composeCardText(const CardBoxes& deck) {
    std::string text;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        // Mark and number come from the position in the box, not from the card,
        // so the file always leads each box with its current card.
        int position = 1;
        for (const CardRef& card : deck.box(box)) {
            text += "<C>\r\n";
            appendField(text, "<M>", position == 1 ? "+" : "-", "</M>");
            appendField(text, "<S>", std::to_string(card->getSection()), "</S>");
            appendField(text, "<N>", std::to_string(position), "</N>");
            appendField(text, "<Q>", card->getQuestion(), "</Q>");
            appendField(text, "<A>", card->getAnswer(), "</A>");
            appendField(text, "<I>", card->getInfo(), "</I>");
            text += "</C>\r\n";
            ++position;
        }
    }
    return text;
}

std::unique_ptr<OutputFile> CreateFileHandle(const std::string& path, FileSystem& files,
                                             MessageBoxes& boxes) {
    ErrorCode error = 0;
    std::unique_ptr<OutputFile> file = files.createForWriting(path, error);
    if (file) {
        return file;
    }
    const unsigned okOnly = static_cast<unsigned>(MB_OK);
    if (error == static_cast<ErrorCode>(ERROR_INVALID_NAME)) {
        boxes.show(noWindow, invalidNameText, nullptr, okOnly);
    } else if (error == static_cast<ErrorCode>(ERROR_SUCCESS) ||
               error == static_cast<ErrorCode>(ERROR_ALREADY_EXISTS)) {
        // Codes that normally mean success: no better explanation to give.
        boxes.show(noWindow, invalidHandleText, nullptr, okOnly);
    } else {
        showError(boxes, createErrorText, asShownCode(error));
    }
    return nullptr;
}

void writeDeckToFile(const CardBoxes& deck, const std::string& fileName, FileSystem& files,
                     MessageBoxes& boxes) {
    const std::string text = composeCardText(deck);
    const std::string temporary = fileName + saveSuffix;
    std::unique_ptr<OutputFile> file = CreateFileHandle(temporary, files, boxes);
    if (!file) {
        return;
    }
    ErrorCode error = 0;
    bool saved = writeWhole(*file, text, error) && file->commit(error);
    // Closed before it is moved or removed: an open file can be neither.
    file.reset();
    saved = saved && files.replace(temporary, fileName, error);
    if (!saved) {
        files.remove(temporary);
        showError(boxes, writeErrorText, asShownCode(error));
    }
}

void writeCardFile(const CardFile& cardFile, FileSystem& files, MessageBoxes& boxes) {
    const std::optional<std::string>& fileName = cardFile.fileName();
    if (cardFile.hasFile() == 0 || !fileName || fileName->empty() || cardFile.deck() == nullptr) {
        return;
    }
    writeDeckToFile(*cardFile.deck(), *fileName, files, boxes);
}
