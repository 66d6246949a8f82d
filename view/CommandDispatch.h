#pragma once
#include <cstdint>

#include "platform/DialogPort.h"

class MQMainView;

enum class CommandOutcome {
    Dropped,       // the command's control is disabled
    Handled,       // a handler ran
    NotHandled,    // no handler takes this id
    HelpContents,  // the Help item: the shell opens the help file's contents
};

// 0 when the command's dialog control exists and is disabled, 1 otherwise.
int commandGate(DialogPort& dialog, std::uintptr_t wParam);

// The gate, then the handler of the command id in the low word of wParam.
CommandOutcome dispatchCommand(MQMainView& view, DialogPort& dialog, std::uintptr_t wParam);
