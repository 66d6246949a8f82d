#pragma once
// The Progress window: the charts of the deck, beside the main dialog. It only
// draws what the core lays out; the controller decides what and when.
#include "chart/ProgressData.h"
#include "shell/Win32Platform.h"

// Opens the window beside `dialog`, which owns it, or brings it to the front.
void showProgressWindow(HWND dialog, const ProgressData& data);
bool isProgressWindowOpen();
// Redraws the open window when `data` differs from what it shows.
void refreshProgressWindow(const ProgressData& data);
