#pragma once
#include <string>

#include "platform/WindowRef.h"

// What the layers below the view reach of the main window: its handle, to own the
// boxes and dialogs they show, and its title.
class WindowPort {
public:
    virtual ~WindowPort() = default;

    virtual WindowRef window() const = 0;
    virtual void setTitle(const std::string& title) = 0;
};
