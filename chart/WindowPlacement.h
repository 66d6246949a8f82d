#pragma once
#include "chart/ChartLayout.h"

// Where the Progress window opens beside `owner` (the dialog) within `work` (the
// screen's work area), in pixels at `dpi`: to the right of the dialog, else to its
// left, narrower if need be, since the learner watches it while learning in the
// dialog, which it must not cover. Only a screen with no room on either side gets
// it over the dialog.
Area placeBeside(const Area& owner, const Area& work, int dpi);

// The Progress window is never made smaller than this, either way.
int smallestProgressSize(int dpi);
