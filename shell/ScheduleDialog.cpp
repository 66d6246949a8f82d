#include "shell/ScheduleDialog.h"

#include "platform/WideText.h"
#include "shell/WindowText.h"
#include "view/ControlIds.h"

namespace {

struct ScheduleForm {
    BoxDaysTexts& texts;
    const BoxDaysCheck& check;
};

int fieldId(std::size_t field) { return ids::box1DaysEdit + static_cast<int>(field); }

std::string fieldText(HWND dialog, std::size_t field) {
    return utf16ToUtf8(windowText(GetDlgItem(dialog, fieldId(field))));
}

void onInit(HWND dialog, const ScheduleForm& form) {
    for (std::size_t field = 0; field < form.texts.size(); ++field) {
        SetDlgItemTextW(dialog, fieldId(field), wide(utf8ToUtf16(form.texts[field])));
    }
}

void onOk(HWND dialog, ScheduleForm& form) {
    BoxDaysTexts typed;
    for (std::size_t field = 0; field < typed.size(); ++field) {
        typed[field] = fieldText(dialog, field);
    }
    if (const std::optional<FieldProblem> problem = form.check(typed)) {
        MessageBoxW(dialog, wide(utf8ToUtf16(problem->message)), L"Mnemoquill",
                    MB_OK | MB_ICONEXCLAMATION);
        HWND edit = GetDlgItem(dialog, fieldId(problem->field));
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return;
    }
    form.texts = typed;
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK scheduleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<ScheduleForm*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
            onInit(dialog, *reinterpret_cast<ScheduleForm*>(lParam));
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    onOk(dialog, *form);
                    return TRUE;
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

bool showScheduleDialog(HWND owner, BoxDaysTexts& texts, const BoxDaysCheck& check) {
    BoxDaysTexts typed = texts;
    ScheduleForm form{typed, check};
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids::scheduleDialog), owner,
                        scheduleDialogProc, reinterpret_cast<LPARAM>(&form));
    if (result != IDOK) return false;
    texts = typed;
    return true;
}
