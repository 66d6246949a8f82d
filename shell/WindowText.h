#pragma once
#include <windows.h>

#include <string>

#include "platform/WideText.h"

// A window's whole text, at any length.
inline std::u16string windowText(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, wide(text), static_cast<int>(text.size()))));
    return text;
}
