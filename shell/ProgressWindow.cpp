#include "shell/ProgressWindow.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "chart/ChartLayout.h"
#include "chart/WindowPlacement.h"
#include "platform/WideText.h"
#include "view/ControlIds.h"

namespace {

constexpr wchar_t className[] = L"MnemoquillProgress";
constexpr wchar_t caption[] = L"Progress";

// One window a run, so its state is the module's own.
struct ProgressWindow {
    HWND window = nullptr;
    ProgressData data;
    HFONT font = nullptr;
    HFONT boldFont = nullptr;
};

ProgressWindow& progress() {
    static ProgressWindow state;
    return state;
}

int dpiOf(HWND window) {
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? dpi : 96;
}

void dropFonts() {
    for (HFONT* font : {&progress().font, &progress().boldFont}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
}

// The user's message font, which the system already sizes for the screen's DPI
// (the program is DPI aware), so that the charts read like the rest of Windows.
void makeFonts(HWND window) {
    if (progress().font) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW face{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        face = metrics.lfMessageFont;
    } else {
        lstrcpynW(face.lfFaceName, L"Tahoma", LF_FACESIZE);
    }
    // Never below 9 points, however the system answers.
    const int smallest = MulDiv(9, dpiOf(window), 72);
    if (std::abs(face.lfHeight) < smallest) face.lfHeight = -smallest;
    progress().font = CreateFontIndirectW(&face);
    face.lfWeight = FW_BOLD;
    progress().boldFont = CreateFontIndirectW(&face);
}

COLORREF colourOf(Ink ink) {
    switch (ink) {
        case Ink::text:
        case Ink::axis:
        case Ink::back:
        case Ink::right:
            return GetSysColor(COLOR_WINDOWTEXT);
        case Ink::quietText:
        case Ink::grid:
        case Ink::drawn:
            return GetSysColor(COLOR_GRAYTEXT);
        case Ink::bar:
        case Ink::up:
            break;
    }
    return GetSysColor(COLOR_HIGHLIGHT);
}

int textWidth(HDC dc, std::string_view text) {
    const std::u16string units = utf8ToUtf16(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide(units), static_cast<int>(units.size()), &size);
    return size.cx;
}

void drawLabel(HDC dc, const Label& label) {
    SelectObject(dc, label.bold ? progress().boldFont : progress().font);
    SetTextColor(dc, colourOf(label.ink));
    std::u16string units = utf8ToUtf16(label.text);
    RECT area{label.area.left, label.area.top, label.area.right, label.area.bottom};
    const UINT align = label.align == Align::left    ? DT_LEFT
                       : label.align == Align::right ? DT_RIGHT
                                                     : DT_CENTER;
    DrawTextW(dc, wide(units), static_cast<int>(units.size()), &area,
              align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP |
                  (label.align == Align::left ? DT_END_ELLIPSIS : 0));
}

// Sent back is hatched, so the three parts of a day stay apart in any colours,
// high contrast included; every bar is outlined for the same reason.
void drawBar(HDC dc, const Bar& bar) {
    RECT area{bar.area.left, bar.area.top, bar.area.right, bar.area.bottom};
    HBRUSH fill = bar.ink == Ink::back ? CreateHatchBrush(HS_BDIAGONAL, colourOf(bar.ink))
                                       : CreateSolidBrush(colourOf(bar.ink));
    FillRect(dc, &area, fill);
    DeleteObject(fill);
    FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWTEXT));
}

void drawRule(HDC dc, const Rule& rule, int thickness) {
    HPEN pen = rule.ink == Ink::grid ? CreatePen(PS_DOT, 1, colourOf(rule.ink))
                                     : CreatePen(PS_SOLID, thickness, colourOf(rule.ink));
    const HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, rule.x1, rule.y1, nullptr);
    LineTo(dc, rule.x2 + (rule.y1 == rule.y2 ? 1 : 0), rule.y2 + (rule.x1 == rule.x2 ? 1 : 0));
    SelectObject(dc, old);
    DeleteObject(pen);
}

// Twice as thick as a rule, so that it reads apart from the axis in the same ink,
// and with square ends, so that it stops where the layout ends it.
void drawTick(HDC dc, const Rule& tick, int thickness) {
    LOGBRUSH brush{BS_SOLID, colourOf(tick.ink), 0};
    HPEN pen =
        ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 2 * thickness, &brush, 0, nullptr);
    const HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, tick.x1, tick.y1, nullptr);
    LineTo(dc, tick.x2, tick.y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void drawPicture(HDC dc, const ProgressPicture& picture, int thickness) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    for (const ChartPicture& chart : picture.charts) {
        for (const Rule& rule : chart.rules) drawRule(dc, rule, thickness);
        for (const Bar& bar : chart.bars) drawBar(dc, bar);
        for (const Rule& tick : chart.ticks) drawTick(dc, tick, thickness);
    }
    SetBkMode(dc, TRANSPARENT);
    for (const Label& label : picture.heading) drawLabel(dc, label);
    for (const ChartPicture& chart : picture.charts) {
        for (const Label& label : chart.labels) drawLabel(dc, label);
    }
}

// Drawn off screen first: redrawn after every command, it must not flicker.
void paint(HWND window) {
    PAINTSTRUCT paintInfo;
    HDC screen = BeginPaint(window, &paintInfo);
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max<LONG>(client.right, 1),
                                            std::max<LONG>(client.bottom, 1));
    const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    makeFonts(window);
    const HGDIOBJ oldFont = SelectObject(dc, progress().font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const TextMeasure measure{metrics.tmHeight,
                              [dc](std::string_view text) { return textWidth(dc, text); }};
    const ProgressPicture picture =
        layoutProgress(progress().data, client.right, client.bottom, measure);
    drawPicture(dc, picture, std::max(1, dpiOf(window) / 96));
    BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(window, &paintInfo);
}

LRESULT CALLBACK progressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                PostMessageW(window, WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        case WM_GETMINMAXINFO: {
            const int smallest = smallestProgressSize(dpiOf(window));
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{smallest, smallest};
            return 0;
        }
        // A new colour scheme or font, high contrast switched on or off.
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            dropFonts();
            InvalidateRect(window, nullptr, FALSE);
            break;
        case WM_DESTROY:
            progress().window = nullptr;
            dropFonts();
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass(HINSTANCE instance) {
    static const bool registered = [instance] {
        WNDCLASSW windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = progressProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(ids::appIcon));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = className;
        return RegisterClassW(&windowClass) != 0;
    }();
    return registered;
}

Area windowArea(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return Area{rect.left, rect.top, rect.right, rect.bottom};
}

Area workAreaBeside(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    return Area{work.left, work.top, work.right, work.bottom};
}

}  // namespace

void showProgressWindow(HWND dialog, const ProgressData& data) {
    ProgressWindow& state = progress();
    state.data = data;
    if (state.window) {
        if (IsIconic(state.window)) ShowWindow(state.window, SW_RESTORE);
        InvalidateRect(state.window, nullptr, FALSE);
        SetForegroundWindow(state.window);
        return;
    }
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    if (!registerClass(instance)) return;
    const Area place = placeBeside(windowArea(dialog), workAreaBeside(dialog), dpiOf(dialog));
    state.window = CreateWindowExW(0, className, caption, WS_OVERLAPPEDWINDOW, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top,
                                   dialog, nullptr, instance, nullptr);
    if (state.window) ShowWindow(state.window, SW_SHOWNORMAL);
}

bool isProgressWindowOpen() { return progress().window != nullptr; }

void refreshProgressWindow(const ProgressData& data) {
    ProgressWindow& state = progress();
    if (!state.window || state.data == data) return;
    state.data = data;
    InvalidateRect(state.window, nullptr, FALSE);
}
