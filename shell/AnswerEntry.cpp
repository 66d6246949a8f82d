#include "shell/AnswerEntry.h"

#include <algorithm>
#include <map>
#include <string>

#include "view/ControlIds.h"

namespace {
constexpr wchar_t entryRecordName[] = L"Mnemoquill.AnswerEntry";

// What the entry's own window procedure needs beside the edit's.
struct EntryRecord {
    WNDPROC editProc;
    UINT command;
    bool composing = false;
};

// The lower pane's place in dialog units, out of the mode (as the resource has it)
// and in it, below the entry and the result line.
constexpr RECT paneAlone{5, 135, 175, 190};
constexpr RECT paneBelowEntry{5, 158, 175, 190};

struct ResultLine {
    std::wstring text;
    std::vector<std::pair<int, int>> marked;
};
std::map<HWND, ResultLine> resultLines;

LRESULT CALLBACK entryProc(HWND entry, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* record = static_cast<EntryRecord*>(GetPropW(entry, entryRecordName));
    const WNDPROC editProc = record->editProc;
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter is the entry's: the dialog would press its default button.
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            const LRESULT code = CallWindowProcW(editProc, entry, message, wParam, lParam);
            return msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN
                       ? code | DLGC_WANTALLKEYS
                       : code;
        }
        case WM_IME_STARTCOMPOSITION:
            record->composing = true;
            break;
        case WM_IME_ENDCOMPOSITION:
            record->composing = false;
            break;
        case WM_KEYDOWN:
            // The key that ends a composition reaches here as VK_PROCESSKEY, if at all.
            if (wParam == VK_RETURN && !record->composing) {
                PostMessageW(GetParent(entry), WM_COMMAND, MAKEWPARAM(record->command, 0), 0);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\r' || wParam == L'\n') return 0;  // no beep for the Enter taken
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc));
            RemovePropW(entry, entryRecordName);
            delete record;
            break;
    }
    return CallWindowProcW(editProc, entry, message, wParam, lParam);
}

void place(HWND dialog, int id, RECT units) {
    MapDialogRect(dialog, &units);
    SetWindowPos(GetDlgItem(dialog, id), nullptr, units.left, units.top, units.right - units.left,
                 units.bottom - units.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// One run of the line, from `from` to `to`, at `x`; returns where the next begins.
int drawRun(HDC dc, const RECT& box, int x, const std::wstring& text, int from, int to,
            bool marked) {
    if (to <= from) return x;
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str() + from, to - from, &size);
    // System colours, so that high contrast themes choose them; an underline
    // marks the letters for whoever cannot tell the colours apart.
    SetTextColor(dc, GetSysColor(marked ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(marked ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    RECT run{x, box.top, x + size.cx, box.bottom};
    ExtTextOutW(dc, x, box.top, ETO_OPAQUE | ETO_CLIPPED, &run, text.c_str() + from,
                static_cast<UINT>(to - from), nullptr);
    if (marked) {
        RECT underline{x, box.top + size.cy - 1, x + size.cx, box.top + size.cy};
        FillRect(dc, &underline, GetSysColorBrush(COLOR_HIGHLIGHTTEXT));
    }
    return x + size.cx;
}
}  // namespace

void attachAnswerEntry(HWND dialog, UINT command) {
    HWND entry = GetDlgItem(dialog, ids::answerEntry);
    if (!entry || GetPropW(entry, entryRecordName)) return;
    auto* record = new EntryRecord{nullptr, command};
    SetPropW(entry, entryRecordName, record);
    record->editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entryProc)));
}

void showAnswerEntry(HWND dialog, bool shown) {
    place(dialog, ids::answerPane, shown ? paneBelowEntry : paneAlone);
    for (const int id : {ids::answerLabel, ids::answerEntry, ids::resultLine}) {
        ShowWindow(GetDlgItem(dialog, id), shown ? SW_SHOWNA : SW_HIDE);
    }
}

void setResultLine(HWND dialog, const std::wstring& text, std::vector<std::pair<int, int>> marked) {
    HWND line = GetDlgItem(dialog, ids::resultLine);
    resultLines[line] = {text, std::move(marked)};
    SetWindowTextW(line, text.c_str());  // what a screen reader reads, and the tests
    InvalidateRect(line, nullptr, TRUE);
}

bool drawResultLine(const DRAWITEMSTRUCT& item) {
    if (item.CtlID != static_cast<UINT>(ids::resultLine)) return false;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const auto found = resultLines.find(item.hwndItem);
    if (found == resultLines.end()) return true;
    const ResultLine& line = found->second;
    const int size = static_cast<int>(line.text.size());
    HGDIOBJ oldFont = SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageW(
                                                 GetParent(item.hwndItem), WM_GETFONT, 0, 0)));
    int x = item.rcItem.left, at = 0;
    for (const auto& [from, to] : line.marked) {
        x = drawRun(item.hDC, item.rcItem, x, line.text, at, std::clamp(from, at, size), false);
        at = std::clamp(from, at, size);
        x = drawRun(item.hDC, item.rcItem, x, line.text, at, std::clamp(to, at, size), true);
        at = std::clamp(to, at, size);
    }
    drawRun(item.hDC, item.rcItem, x, line.text, at, size, false);
    SelectObject(item.hDC, oldFont);
    return true;
}

void setDefaultButton(HWND dialog, int id) {
    const LRESULT current = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(current) == DC_HASDEFID && static_cast<int>(LOWORD(current)) != id) {
        SendDlgItemMessageW(dialog, LOWORD(current), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
    SendDlgItemMessageW(dialog, id, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}
