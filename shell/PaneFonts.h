#pragma once
#include <windows.h>

// Gives a card pane the face that best draws the text it holds now.
void fitPaneFont(HWND pane);
