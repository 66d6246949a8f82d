#include "view/CommandDispatch.h"

#include "view/CardView.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

namespace {
int commandId(std::uintptr_t wParam) { return static_cast<int>(wParam & 0xFFFF); }
}  // namespace

int commandGate(DialogPort& dialog, std::uintptr_t wParam) {
    // Accelerators and the program's own clicks bypass the disabled look of a
    // button, so the gate is what keeps them out.
    return isControlEnabled(dialog, commandId(wParam));
}

CommandOutcome dispatchCommand(MQMainView& view, DialogPort& dialog, std::uintptr_t wParam) {
    if (view.waitingForUser() || commandGate(dialog, wParam) == 0) {
        return CommandOutcome::Dropped;
    }
    const int id = commandId(wParam);
    const MQMainView::Command command(view, dialog);
    switch (id) {
        case ids::moveButton:
            view.onMove(dialog);
            break;
        case ids::showButton:
            view.onShow(dialog);
            break;
        case ids::nextButton:
            view.onNext(dialog);
            break;
        case ids::box0Item:
        case ids::box1Radio:
        case ids::box2Radio:
        case ids::box3Radio:
        case ids::box4Radio:
        case ids::box5Radio:
        case ids::box6Item:
            view.onSelectBox(dialog, id);
            break;
        case ids::backButton:
            view.onBack(dialog);
            break;
        case ids::openItem:
            view.onOpen(dialog);
            break;
        case ids::helpItem:
            return CommandOutcome::HelpContents;
        case ids::newItem:
            view.onNew(dialog);
            break;
        case ids::getNewCardItem:
            view.onGetNewCard(dialog);
            break;
        case ids::infoItem:
            view.onInfo(dialog);
            break;
        case ids::saveItem:
            view.onSave(dialog);
            break;
        case ids::saveAsItem:
            view.onSaveAs(dialog);
            break;
        case ids::editItem:
            view.onEdit(dialog);
            break;
        case ids::previousItem:
            view.onPrevious(dialog);
            break;
        case ids::deleteItem:
            view.onDelete(dialog);
            break;
        case ids::insertItem:
            view.onInsert(dialog);
            break;
        case ids::undoItem:
            view.onUndo(dialog);
            break;
        case ids::redoItem:
            view.onRedo(dialog);
            break;
        case ids::findItem:
            view.onFind(dialog);
            break;
        case ids::findNextItem:
            view.onFindNext(dialog);
            break;
        case ids::recentFile1:
        case ids::recentFile1 + 1:
        case ids::recentFile1 + 2:
        case ids::recentFile4:
            view.onRecentFile(dialog, id);
            break;
        default:
            return CommandOutcome::NotHandled;
    }
    return CommandOutcome::Handled;
}
