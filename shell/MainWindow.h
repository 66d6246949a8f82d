#pragma once
// The hidden main window, which keeps the program to one instance and links the
// controller to the dialog, and the dialog that is the whole user interface.
#include <optional>
#include <string>

#include "shell/Win32Platform.h"

class MQMainView;

// Kept in the main window's GWLP_USERDATA from the end of WM_CREATE until the
// window is gone; the window owns it.
struct MainWindowRecord {
    const CREATESTRUCTW* creation = nullptr;  // valid only during WM_CREATE
    MQMainView* controller = nullptr;
    HWND dialog = nullptr;  // null when the dialog could not be created
};

// Lives only while the main window handles WM_CREATE.
class MainDialog {
public:
    void registerDialogClass(HINSTANCE instance);
    HWND createMainDialog(MQMainView& controller);

private:
    HINSTANCE instance_ = nullptr;
    HWND dialog_ = nullptr;
};

// When another instance runs, brings its dialog to the front, restored, hands
// it `deck` to open, and says so; that instance is the one the user meant.
bool bringRunningInstanceToFront(const std::optional<std::string>& deck = std::nullopt);

// The card file named in the program's arguments, absolute; nothing when none is.
std::optional<std::string> deckOnCommandLine(const wchar_t* arguments);
// The dialog opens `path` as Open would, as soon as it can.
void handDeckToDialog(HWND dialog, std::string path);

int registerMainWindowClass(HINSTANCE instance);
HWND createMainWindow(HINSTANCE instance);
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog recorded by the main window; null before WM_CREATE is done and
// after the main window is destroyed.
HWND dialogOf(HWND mainWindow);

// Whether `msg` is Ctrl+Z for a card pane holding typing of its own: then it is
// the pane's undo, not the accelerator's.
bool isKeyForPane(HWND dialog, const MSG& msg);

// Read-only query for test drivers in other processes, which cannot read this
// process's menu themselves (GetMenuState fails across processes under Wine).
// Sent to the dialog with wParam = command id or position and lParam = 0 (by
// command) or 1 (by position); the result is what GetMenuState gives.
UINT queryMenuStateMessage();
