#pragma once
#include <optional>
#include <string>

#include "platform/WindowRef.h"

// The system's Open and Save dialogs for card files. Empty when the user
// cancelled or the dialog failed.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> chooseFileToOpen(WindowRef owner) = 0;
    virtual std::optional<std::string> chooseFileToSave(WindowRef owner) = 0;
};
