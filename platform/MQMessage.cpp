#include "platform/MQMessage.h"

#include "platform/WinConstants.h"

std::string composeErrorText(const std::string& text, std::int32_t code) {
    return text + ", err#: " + std::to_string(code);
}

void showError(MessageBoxes& boxes, const std::string& text, std::int32_t code) {
    boxes.show(noWindow, composeErrorText(text, code), "MQMessage", MB_OK);
}
