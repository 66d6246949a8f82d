#include "view/CommandDispatch.h"

#include <algorithm>
#include <array>
#include <optional>

#include "view/CardView.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

namespace {
int commandId(std::uintptr_t wParam) { return static_cast<int>(wParam & 0xFFFF); }

using Walk = DueWalk;

static_assert(ids::redoItem == ids::undoItem + 1, "Undo and Redo make one range of ids");

// One command: its first and last id (boxes and recent files share a handler),
// the handler, and whether Due Cards Only then walks to a due card, and which way.
struct CommandEntry {
    int first;
    int last;
    void (*run)(MQMainView&, DialogPort&, int id);
    bool walks;
    Walk walk;
};

template <void (MQMainView::*handler)(DialogPort&)>
void plain(MQMainView& view, DialogPort& dialog, int) {
    (view.*handler)(dialog);
}

template <void (MQMainView::*handler)(DialogPort&, int)>
void withId(MQMainView& view, DialogPort& dialog, int id) {
    (view.*handler)(dialog, id);
}

constexpr bool walks = true;
constexpr bool stays = false;

const std::array<CommandEntry, 25> commands = {{
    {ids::moveButton, ids::moveButton, plain<&MQMainView::onMove>, walks, Walk::forward},
    {ids::showButton, ids::showButton, plain<&MQMainView::onShow>, stays, Walk::forward},
    {ids::nextButton, ids::nextButton, plain<&MQMainView::onNext>, walks, Walk::forward},
    // Box 0, the radio buttons of boxes 1 to 5 and Box 6.
    {ids::box0Item, ids::box6Item, withId<&MQMainView::onSelectBox>, walks, Walk::forward},
    {ids::backButton, ids::backButton, plain<&MQMainView::onBack>, walks, Walk::forward},
    {ids::openItem, ids::openItem, plain<&MQMainView::onOpen>, stays, Walk::forward},
    {ids::newItem, ids::newItem, plain<&MQMainView::onNew>, stays, Walk::forward},
    {ids::getNewCardItem, ids::getNewCardItem, plain<&MQMainView::onGetNewCard>, walks,
     Walk::forward},
    {ids::infoItem, ids::infoItem, plain<&MQMainView::onInfo>, stays, Walk::forward},
    {ids::saveItem, ids::saveItem, plain<&MQMainView::onSave>, stays, Walk::forward},
    {ids::saveAsItem, ids::saveAsItem, plain<&MQMainView::onSaveAs>, stays, Walk::forward},
    // Leaving edit mode goes back to learning what is due.
    {ids::editItem, ids::editItem, plain<&MQMainView::onEdit>, walks, Walk::forward},
    {ids::previousItem, ids::previousItem, plain<&MQMainView::onPrevious>, walks, Walk::backward},
    {ids::deleteItem, ids::deleteItem, plain<&MQMainView::onDelete>, walks, Walk::forward},
    {ids::insertItem, ids::insertItem, plain<&MQMainView::onInsert>, stays, Walk::forward},
    // Undo and Redo: one handler for the two neighbouring ids.
    {ids::undoItem, ids::redoItem, withId<&MQMainView::onUndoRedo>, walks, Walk::forward},
    // Find still finds any card, due or not.
    {ids::findItem, ids::findItem, plain<&MQMainView::onFind>, stays, Walk::forward},
    {ids::findNextItem, ids::findNextItem, plain<&MQMainView::onFindNext>, stays, Walk::forward},
    {ids::dueOnlyItem, ids::dueOnlyItem, plain<&MQMainView::onDueOnly>, stays, Walk::forward},
    {ids::scheduleItem, ids::scheduleItem, plain<&MQMainView::onSchedule>, stays, Walk::forward},
    {ids::questionFirstItem, ids::bothWaysItem, withId<&MQMainView::onDirection>, stays,
     Walk::forward},
    {ids::progressItem, ids::progressItem, plain<&MQMainView::onProgress>, stays, Walk::forward},
    {ids::recentFile1, ids::recentFile4, withId<&MQMainView::onRecentFile>, stays, Walk::forward},
    {ids::helpItem, ids::helpItem, nullptr, stays, Walk::forward},
}};
}  // namespace

bool commandGate(DialogPort& dialog, std::uintptr_t wParam) {
    // Accelerators and the program's own clicks bypass the disabled look of a
    // button, so the gate is what keeps them out.
    return isControlEnabled(dialog, commandId(wParam));
}

CommandOutcome dispatchCommand(MQMainView& view, DialogPort& dialog, std::uintptr_t wParam) {
    if (view.waitingForUser() || !commandGate(dialog, wParam)) {
        return CommandOutcome::Dropped;
    }
    const int id = commandId(wParam);
    const auto entry = std::find_if(commands.begin(), commands.end(), [id](const auto& command) {
        return id >= command.first && id <= command.last;
    });
    if (entry == commands.end()) {
        return CommandOutcome::NotHandled;
    }
    if (entry->run == nullptr) {
        return CommandOutcome::HelpContents;
    }
    const MQMainView::Command command(
        view, dialog, entry->walks ? std::optional<Walk>(entry->walk) : std::nullopt);
    entry->run(view, dialog, id);
    return CommandOutcome::Handled;
}
