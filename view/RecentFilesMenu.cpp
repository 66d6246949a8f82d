#include "view/RecentFilesMenu.h"

#include "platform/MQMessage.h"

void RecentFilesMenu::load(DialogPort& dialog) {
    files_.load();
    show(dialog, true, 0);
}

void RecentFilesMenu::remember(DialogPort& dialog, const std::optional<std::string>& path) {
    ErrorCode error = 0;
    const bool changed = path && files_.add(*path, error);
    show(dialog, changed, error);
}

void RecentFilesMenu::forget(DialogPort& dialog, const std::string& path) {
    ErrorCode error = 0;
    const bool changed = files_.remove(path, error);
    show(dialog, changed, error);
}

std::optional<std::string> RecentFilesMenu::path(std::size_t index) const {
    if (index >= files_.paths().size()) {
        return std::nullopt;
    }
    return files_.paths()[index];
}

void RecentFilesMenu::show(DialogPort& dialog, bool changed, ErrorCode error) {
    if (changed) {
        dialog.showRecentFiles(files_.menuLabels());
        dialog.drawMenuBar();
    }
    // The list still serves this run and no card is at stake, so one box a run
    // says it will be lost; one at every open would only nag.
    if (error == 0 || failureShown_) {
        return;
    }
    failureShown_ = true;
    showError(boxes_, "The recent card files can't be kept", static_cast<std::int32_t>(error));
}
