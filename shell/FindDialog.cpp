#include "shell/FindDialog.h"

#include "platform/WideText.h"
#include "shell/PaneFonts.h"
#include "shell/WindowText.h"
#include "view/ControlIds.h"

namespace {

// Find Next has nothing to look for while the text is empty.
void enableFindNext(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDOK),
                 GetWindowTextLengthW(GetDlgItem(dialog, ids::findTextEdit)) > 0);
}

INT_PTR CALLBACK findDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
            HWND edit = GetDlgItem(dialog, ids::findTextEdit);
            const auto* text = reinterpret_cast<const std::string*>(lParam);
            SetWindowTextW(edit, wide(utf8ToUtf16(*text)));
            fitPaneFont(edit);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            enableFindNext(dialog);
            SetFocus(edit);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case ids::findTextEdit:
                    if (HIWORD(wParam) == EN_CHANGE) {
                        fitPaneFont(GetDlgItem(dialog, ids::findTextEdit));
                        enableFindNext(dialog);
                    }
                    return TRUE;
                case IDOK: {
                    auto* text =
                        reinterpret_cast<std::string*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
                    *text = utf16ToUtf8(windowText(GetDlgItem(dialog, ids::findTextEdit)));
                    EndDialog(dialog, IDOK);
                    return TRUE;
                }
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

bool showFindDialog(HWND owner, std::string& text) {
    std::string typed = text;
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids::findDialog), owner,
                        findDialogProc, reinterpret_cast<LPARAM>(&typed));
    if (result != IDOK) return false;
    text = typed;
    return true;
}
