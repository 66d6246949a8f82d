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
