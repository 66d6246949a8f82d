#include "platform/MQMessage.h"

#include "platform/WinConstants.h"

std::string composeErrorText(const std::string& text, std::int32_t code) {
    return text + ", err#: " + std::to_string(code);
}

void showError(MessageBoxes& boxes, const std::string& text, std::int32_t code,
               const std::string& note) {
    std::string shown = composeErrorText(text, code);
    if (!note.empty()) {
        shown += "\n" + note;
    }
    boxes.show(noWindow, shown, "MQMessage", MB_OK);
}
