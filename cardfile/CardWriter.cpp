#include "cardfile/CardWriter.h"

#include "cardfile/CardFile.h"
#include "cardfile/CardSave.h"

namespace {

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
    if (!file) {
        reportCreateFailure(error, boxes);
    }
    return file;
}

bool writeDeckToFile(const CardBoxes& deck, const std::string& fileName, FileSystem& files,
                     MessageBoxes& boxes) {
    return saveCardText(composeCardText(deck), fileName, files, boxes);
}

bool writeCardFile(const CardFile& cardFile, FileSystem& files, MessageBoxes& boxes) {
    const std::optional<std::string>& fileName = cardFile.fileName();
    if (cardFile.hasFile() == 0 || !fileName || fileName->empty() || cardFile.deck() == nullptr) {
        return false;
    }
    return writeDeckToFile(*cardFile.deck(), *fileName, files, boxes);
}
