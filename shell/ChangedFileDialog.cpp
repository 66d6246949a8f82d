#include "shell/ChangedFileDialog.h"

#include "platform/WideText.h"
#include "view/ControlIds.h"

namespace {

INT_PTR CALLBACK changedFileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* text = reinterpret_cast<const std::string*>(lParam);
            SetDlgItemTextW(dialog, ids::changedFileText, wide(utf8ToUtf16(*text)));
            // The icon a warning box would show, so that it reads as one.
            SendDlgItemMessageW(dialog, ids::changedFileIcon, STM_SETICON,
                                reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case ids::mergeButton:
                case ids::replaceButton:
                case IDCANCEL:
                    EndDialog(dialog, LOWORD(wParam));
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

int askChangedFile(HWND owner, const std::string& text) {
    const INT_PTR chosen =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids::changedFileDialog), owner,
                        changedFileDialogProc, reinterpret_cast<LPARAM>(&text));
    return chosen == ids::mergeButton || chosen == ids::replaceButton ? static_cast<int>(chosen)
                                                                      : IDCANCEL;
}
