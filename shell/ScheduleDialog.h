#pragma once
#include <windows.h>

#include "view/DialogPort.h"

// The modal Schedule dialog over `owner`, its fields filled with `texts`. OK asks
// `check`: a problem is shown in a box and its field selected, and the dialog stays.
// True, with the texts typed, once OK was accepted.
bool showScheduleDialog(HWND owner, BoxDaysTexts& texts, const BoxDaysCheck& check);
