#pragma once
#include <optional>
#include <string>

#include "platform/MessageBoxes.h"
#include "view/DialogPort.h"
#include "view/RecentFiles.h"

// File > 1 to 4: the recent card files as the menu shows them, and the one box a
// run that says they can't be kept.
class RecentFilesMenu {
public:
    RecentFilesMenu(RecentStore& store, CaseFolding& folding, MessageBoxes& boxes)
        : files_(store, folding), boxes_(boxes) {}

    void load(DialogPort& dialog);
    // The card file just opened, made or named in Save As leads the list; one that
    // no longer opens leaves it.
    void remember(DialogPort& dialog, const std::optional<std::string>& path);
    void forget(DialogPort& dialog, const std::string& path);
    // The path of File > `index + 1`, if the menu lists one.
    std::optional<std::string> path(std::size_t index) const;

private:
    void show(DialogPort& dialog, bool changed, ErrorCode error);

    RecentFiles files_;
    MessageBoxes& boxes_;
    bool failureShown_ = false;
};
