#pragma once
#include <windows.h>

#include <string>

// The question before saving over a card file another program changed, as a
// dialog of its own (a message box has no Merge): its text, then Merge (the
// default), Replace or Cancel. Gives the id of the button chosen; closing the
// dialog is Cancel.
int askChangedFile(HWND owner, const std::string& text);
