#include "view/AnswerCommands.h"

#include "view/ControlIds.h"

CommandOutcome dispatchAnswerCommand(TypedAnswers& answers, MQMainView& view, DialogPort& dialog,
                                     std::uintptr_t wParam) {
    const int id = static_cast<int>(wParam & 0xFFFF);
    const bool entered = id == ids::answerEnteredCommand;
    if (!entered && (id < ids::typeAnswerItem || id > ids::ignoreAccentsItem)) {
        return CommandOutcome::NotHandled;
    }
    if (view.waitingForUser() || !commandGate(dialog, wParam)) {
        return CommandOutcome::Dropped;
    }
    const MQMainView::Command command(view, dialog);
    if (entered) {
        answers.enter(dialog);
    } else {
        answers.toggle(dialog, static_cast<AnswerSwitch>(id - ids::typeAnswerItem));
    }
    return CommandOutcome::Handled;
}

CommandOutcome dispatchDialogCommand(TypedAnswers& answers, MQMainView& view, DialogPort& dialog,
                                     std::uintptr_t wParam) {
    const CommandOutcome outcome = dispatchAnswerCommand(answers, view, dialog, wParam);
    return outcome == CommandOutcome::NotHandled ? dispatchCommand(view, dialog, wParam) : outcome;
}

bool controlTakesUndo(TypedAnswers& answers, const MQMainView& view, DialogPort& dialog) {
    return paneTakesUndo(dialog, view.view()) || answers.entryTakesUndo(dialog);
}
