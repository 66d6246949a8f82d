#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The typed answer's controls in the main dialog: the entry, its label and the
// result line, which are hidden out of the mode so that the dialog is as before.

// Enter in the entry posts `command` to the dialog, unless it ends an input
// method's composition, which it belongs to.
void attachAnswerEntry(HWND dialog, UINT command);

// Shows the entry, its label and the result line under the question pane, making
// room for them in the lower pane; hiding them gives the pane its room back.
void showAnswerEntry(HWND dialog, bool shown);

// The result line's text, with the units of it (UTF-16, from and to) drawn marked.
void setResultLine(HWND dialog, const std::wstring& text, std::vector<std::pair<int, int>> marked);

// Draws the result line for WM_DRAWITEM; false for any other control.
bool drawResultLine(const DRAWITEMSTRUCT& item);

// Makes `id` the button that Enter presses, as the dialog draws it.
void setDefaultButton(HWND dialog, int id);
