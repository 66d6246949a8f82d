#pragma once
#include <optional>
#include <string>

#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

// Stands between the controller and the modal boxes and file dialogs, and knows
// whether one of them is up. While the user is being asked, the dialog behind an
// unowned box can still be clicked, and a command taken then would run in the
// middle of the one that asked.
class UserWait : public MessageBoxes, public FileDialogs {
public:
    UserWait(MessageBoxes& boxes, FileDialogs& dialogs) : boxes_(boxes), dialogs_(dialogs) {}

    bool waiting() const { return depth_ > 0; }

    int show(WindowRef owner, const std::string& text, const char* caption,
             unsigned type) override {
        const Asking asking(depth_);
        return boxes_.show(owner, text, caption, type);
    }
    std::optional<std::string> chooseFileToOpen(WindowRef owner) override {
        const Asking asking(depth_);
        return dialogs_.chooseFileToOpen(owner);
    }
    std::optional<std::string> chooseFileToSave(WindowRef owner) override {
        const Asking asking(depth_);
        return dialogs_.chooseFileToSave(owner);
    }

    // Any other modal window of a command, such as the Find dialog.
    template <typename Ask>
    auto whileAsking(Ask&& ask) {
        const Asking asking(depth_);
        return ask();
    }

private:
    class Asking {
    public:
        explicit Asking(int& depth) : depth_(depth) { ++depth_; }
        ~Asking() { --depth_; }
        Asking(const Asking&) = delete;
        Asking& operator=(const Asking&) = delete;

    private:
        int& depth_;
    };

    MessageBoxes& boxes_;
    FileDialogs& dialogs_;
    int depth_ = 0;
};
