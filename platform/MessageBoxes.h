#pragma once
#include <string>

#include "platform/WindowRef.h"

// Modal message boxes; text and caption are UTF-8. A null caption asks for the
// system's default caption.
// The result is the button the user pressed (IDOK, IDCANCEL, IDYES, IDNO).
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual int show(WindowRef owner, const std::string& text, const char* caption,
                     unsigned type) = 0;
};
