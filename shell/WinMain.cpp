#include <cstdint>

#include "keyboard/AccelManager.h"
#include "shell/MainWindow.h"
#include "view/ControlIds.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR arguments, int) {
    const std::optional<std::string> deck = deckOnCommandLine(arguments);
    if (bringRunningInstanceToFront(deck)) return 0;

    HWND mainWindow = createMainWindow(instance);
    // Opened once the dialog shows and its messages flow.
    if (deck && dialogOf(mainWindow)) handDeckToDialog(dialogOf(mainWindow), *deck);
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(ids::accelerators));
    AccelManager accelManager(instance);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) != 0) {
        unsigned message = msg.message;
        std::uintptr_t wParam = msg.wParam;
        accelManager.filterMessage(message, wParam);
        msg.message = message;
        msg.wParam = static_cast<WPARAM>(wParam);

        // Read afresh: the main window may be gone by now, and its record with it.
        HWND dialog = dialogOf(mainWindow);
        if (dialog && !isKeyForPane(dialog, msg) &&
            TranslateAcceleratorW(dialog, accelerators, &msg)) {
            continue;
        }
        if (dialog && IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
