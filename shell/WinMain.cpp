#include <cstdint>

#include "keyboard/AccelManager.h"
#include "shell/MainWindow.h"
#include "view/ControlIds.h"

namespace {

BOOL CALLBACK findDialogOfThread(HWND window, LPARAM found) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "mnemoquill") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The hidden window of the running instance is never shown, so raising it shows
// nothing: its dialog is what the user came back for.
void bringToFront(HWND runningMainWindow) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(runningMainWindow, nullptr), findDialogOfThread,
                      reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        SetForegroundWindow(runningMainWindow);
        return;
    }
    if (IsIconic(dialog)) ShowWindow(dialog, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(dialog));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (HWND running = FindWindowA("MQMainClass", "Mnemoquill")) {
        bringToFront(running);
        return 0;
    }

    HWND mainWindow = createMainWindow(instance);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(ids::accelerators));
    AccelManager accelManager(instance);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) != 0) {
        unsigned message = msg.message;
        std::uintptr_t wParam = msg.wParam;
        accelManager.filterMessage(message, wParam);
        msg.message = message;
        msg.wParam = static_cast<WPARAM>(wParam);

        // Read afresh: the main window may be gone by now, and its record with it.
        HWND dialog = dialogOf(mainWindow);
        if (dialog && TranslateAcceleratorA(dialog, accelerators, &msg)) continue;
        if (dialog && IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
