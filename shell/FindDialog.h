#pragma once
#include <windows.h>

#include <string>

// The modal Find dialog over `owner`, starting with `text` selected. True, with the
// text the user typed, when they chose Find Next.
bool showFindDialog(HWND owner, std::string& text);
