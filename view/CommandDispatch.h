#pragma once
#include <cstdint>

#include "view/DialogPort.h"

class MQMainView;

enum class CommandOutcome {
    Dropped,       // the command's control is disabled, or a question is up
    Handled,       // a handler ran
    NotHandled,    // no handler takes this id
    HelpContents,  // the Help item: the shell opens the help file's contents
};

// False when the command's dialog control exists and is disabled.
bool commandGate(DialogPort& dialog, std::uintptr_t wParam);

// The gate, then the handler of the command id in the low word of wParam. While a
// handler waits for the user, every command is dropped.
CommandOutcome dispatchCommand(MQMainView& view, DialogPort& dialog, std::uintptr_t wParam);
