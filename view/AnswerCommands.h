#pragma once
#include <cstdint>

#include "view/CommandDispatch.h"
#include "view/MQMainView.h"
#include "view/TypedAnswers.h"

// The typed answer's commands (its three menu items and Enter in its entry),
// dispatched as the controller's own are: dropped while a question is up, each
// inside a command, so the moments follow. NotHandled for every other id.
CommandOutcome dispatchAnswerCommand(TypedAnswers& answers, MQMainView& view, DialogPort& dialog,
                                     std::uintptr_t wParam);

// Every command of the dialog: typed answers' own, then the controller's.
CommandOutcome dispatchDialogCommand(TypedAnswers& answers, MQMainView& view, DialogPort& dialog,
                                     std::uintptr_t wParam);

// Ctrl+Z is the focused control's own undo while it holds typing not yet
// stored: a pane in edit mode, or the answer entry.
bool controlTakesUndo(TypedAnswers& answers, const MQMainView& view, DialogPort& dialog);
