// mqprobe: reads the running program's windows from the outside for the
// end-to-end tests, and posts the odd message to them.
//
// One command per line on stdin, arguments separated by tabs; one answer line on
// stdout: "ok" or "err", then tab-separated fields. Texts are UTF-8 and travel
// escaped both ways: every byte below 0x20 or above 0x7E, and the backslash, as
// \xHH. The probe reads and writes the program's windows through the wide calls
// only, so that it sees every character the program shows.
//
//   dialog MS              wait for the main dialog (class "mnemoquill"), remember it
//   main                   the hidden main window, "MQMainClass"/"Mnemoquill"
//   text ID | enabled ID | checked ID | rect ID    one control of the dialog
//   title                  the dialog's title
//   menu ID | menu-pos POS the menu item's state, as GetMenuState gives it
//   command ID | close | close-main               post WM_COMMAND / WM_CLOSE
//   foreign-window         open a window of the probe's own in the foreground
//   wait-foreground MS     wait until the dialog is in the foreground, not minimized
//   minimize | iconic      minimize the dialog / whether it is minimized
//   hold PATH              keep PATH open for reading and writing, shared for reading
//                          and writing but not for deleting or renaming
//   release                close every file held
//   ping                   ok once the dialog's thread has taken every message
//                          posted to it before
//   boxes                  the captions of every visible dialog-class window
//   dialogs                how many windows of the main dialog's class there are
//   forget-recent          delete HKEY_CURRENT_USER\Software\Mnemoquill, where the
//                          program keeps its recent card files
//   terminate              end the program's process at once, as a crash would, and
//                          wait until it is gone
//   recovery-folder        %LOCALAPPDATA%\Mnemoquill\Recovery, where the program
//                          keeps its records of unsaved changes
//   box CAPTION MS         wait for a dialog-class window (a message box) with
//                          this caption: its owner, its buttons, its text
//   answer CAPTION BUTTON  press yes/no/ok/cancel in that box
//   no-box CAPTION MS      ok when no such window shows up within MS
//   gone CAPTION MS        wait until no such window is left
//   field CAPTION ID       text of one control of such a window
//   window CAPTION MS      wait for a visible top-level window of a class of its
//                          own (no dialog) with this caption: its owner, its class,
//                          its rectangle, and 1 when it is the foreground window
//   window-gone CAPTION MS wait until no such window is left
//   x11 [CAPTION]          the X window id of the dialog or of such a window
//   module NAME            full path of the DLL of that name loaded in the program
//   version FILE           a file's version resource: the fixed file version,
//                          then FileVersion, ProductVersion, ProductName,
//                          FileDescription, CompanyName, LegalCopyright
//   quit
#include <windows.h>
// after windows.h, which they build on
#include <psapi.h>
#include <shlobj.h>
#include <winver.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "platform/WideText.h"

namespace {

constexpr DWORD sendTimeoutMs = 5000;
constexpr DWORD pollMs = 50;

HWND dialog = nullptr;
std::vector<HANDLE> heldFiles;

std::string escape(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c > 0x7e || c == '\\') {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            out += static_cast<char>(std::strtol(text.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(unescape(line.substr(start, tab - start)));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

void reply(const char* status, const std::vector<std::string>& fields = {}) {
    std::string line = status;
    for (const std::string& field : fields) line += "\t" + escape(field);
    line += "\n";
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

std::string handle(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "%#lx",
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(window)));
    return text;
}

// WM_GETTEXT works across processes: the system copies the text over.
std::string windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, sendTimeoutMs,
                             &length))
        return {};
    std::u16string text(length + 1, u'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(wide(text)),
                             SMTO_ABORTIFHUNG, sendTimeoutMs, &copied))
        return {};
    text.resize(copied);
    return utf16ToUtf8(text);
}

bool hasClass(HWND window, const wchar_t* expected) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return lstrcmpiW(name, expected) == 0;
}

// Keeps the probe's own window (see "foreign-window") answering while it waits.
void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

template <typename Condition>
bool waitUntil(Condition condition, DWORD timeoutMs, DWORD everyMs = pollMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        pumpMessages();
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(everyMs);
    }
}

// A window of the probe's own that takes the foreground, so that a test can see
// another program take it back.
HWND createForeignWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"mqprobe";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"mqprobe", L"mqprobe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetForegroundWindow(window);
    waitUntil([window] { return GetForegroundWindow() == window; }, 3000);
    return window;
}

template <typename Find>
HWND waitFor(Find find, DWORD timeoutMs) {
    HWND found = nullptr;
    waitUntil([&] { return (found = find()) != nullptr; }, timeoutMs);
    return found;
}

// A sent message is taken before the posted ones already waiting, so a sent
// WM_NULL says nothing about the commands posted before it. Posted messages to
// one thread keep their order, so post a change the probe can read back: a
// one-character step of the hidden answer entry's limit, harmless to the user.
// Polled often: a ping follows nearly every command of the tests.
void ping() {
    HWND entry = GetDlgItem(dialog, 1060);
    DWORD_PTR limit = 0;
    if (!entry || !SendMessageTimeoutW(entry, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG,
                                       sendTimeoutMs, &limit)) {
        reply("err", {"no answer"});
        return;
    }
    const DWORD_PTR stepped = limit ^ 1;
    if (!PostMessageW(entry, EM_SETLIMITTEXT, stepped, 0)) {
        reply("err", {"post failed"});
        return;
    }
    const bool taken = waitUntil(
        [&] {
            DWORD_PTR now = 0;
            return SendMessageTimeoutW(entry, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG,
                                       sendTimeoutMs, &now) &&
                   now == stepped;
        },
        sendTimeoutMs * 4, 2);
    taken ? reply("ok") : reply("err", {"no answer"});
}

HWND visibleOrNull(HWND window) { return window && IsWindowVisible(window) ? window : nullptr; }

HWND findMainWindow() { return FindWindowW(L"MQMainClass", L"Mnemoquill"); }

HWND findBox(const std::string& caption) {
    return visibleOrNull(FindWindowW(L"#32770", wide(utf8ToUtf16(caption))));
}

// A top-level window that is neither a dialog nor a message box, found by caption.
HWND findOwnWindow(const std::string& caption) {
    HWND window = nullptr;
    const std::u16string wanted = utf8ToUtf16(caption);
    while ((window = FindWindowExW(nullptr, window, nullptr, wide(wanted))) != nullptr) {
        if (IsWindowVisible(window) && !hasClass(window, L"#32770") &&
            !hasClass(window, L"mnemoquill"))
            return window;
    }
    return nullptr;
}

BOOL CALLBACK collectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string ownerName(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    if (!owner) return "none";
    if (owner == dialog) return "dialog";
    return handle(owner);
}

// A message box: its text is the one static control that is no icon.
std::vector<std::string> describeBox(HWND box) {
    std::string buttons;
    std::string text;
    for (HWND child : children(box)) {
        if (hasClass(child, L"Button") && IsWindowVisible(child)) {
            if (!buttons.empty()) buttons += ",";
            buttons += windowText(child);
        } else if (hasClass(child, L"Static") && text.empty() &&
                   (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            text = windowText(child);
        }
    }
    return {ownerName(box), buttons, text};
}

int buttonId(const std::string& name) {
    if (name == "yes") return IDYES;
    if (name == "no") return IDNO;
    if (name == "ok") return IDOK;
    if (name == "cancel") return IDCANCEL;
    return std::atoi(name.c_str());
}

HWND control(const std::string& id) { return GetDlgItem(dialog, std::atoi(id.c_str())); }

UINT menuQuery() {
    static const UINT message = RegisterWindowMessageW(L"Mnemoquill.QueryMenuState");
    return message;
}

void menuState(UINT item, bool byPosition) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutW(dialog, menuQuery(), item, byPosition ? 1 : 0, SMTO_ABORTIFHUNG,
                             sendTimeoutMs, &state))
        return reply("err", {"no answer"});
    reply("ok", {std::to_string(static_cast<UINT>(state))});
}

void terminateProgram() {
    DWORD processId = 0;
    GetWindowThreadProcessId(findMainWindow(), &processId);
    HANDLE process =
        processId ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId) : nullptr;
    if (!process) return reply("err", {"no program"});
    const bool ended =
        TerminateProcess(process, 1) && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    dialog = nullptr;
    ended ? reply("ok") : reply("err", {std::to_string(GetLastError())});
}

void recoveryFolder() {
    std::u16string folder(MAX_PATH, u'\0');
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                wide(folder)))) {
        return reply("err", {"no folder"});
    }
    folder.resize(folder.find(u'\0'));
    reply("ok", {utf16ToUtf8(folder + u"\\Mnemoquill\\Recovery")});
}

// Which copy of a DLL the program loaded (comctl32 6 comes from the side-by-side
// store only when the manifest asks for it).
void modulePath(const std::string& name) {
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return reply("err", {"cannot open the process"});
    std::vector<HMODULE> modules(256);
    DWORD needed = 0;
    std::string found;
    if (EnumProcessModules(process, modules.data(),
                           static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed)) {
        modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
        const std::u16string wanted = utf8ToUtf16(name);
        for (HMODULE module : modules) {
            std::u16string path(MAX_PATH, u'\0');
            path.resize(
                GetModuleFileNameExW(process, module, wide(path), static_cast<DWORD>(path.size())));
            const std::u16string file = path.substr(path.find_last_of(u'\\') + 1);
            if (lstrcmpiW(wide(file), wide(wanted)) == 0) found = utf16ToUtf8(path);
        }
    }
    CloseHandle(process);
    found.empty() ? reply("err", {"not loaded"}) : reply("ok", {found});
}

void versionResource(const std::string& file) {
    DWORD ignored = 0;
    const std::u16string path = utf8ToUtf16(file);
    const DWORD size = GetFileVersionInfoSizeW(wide(path), &ignored);
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoW(wide(path), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return reply("err", {"no version resource"});
    std::vector<std::string> fields{std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                    std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                    std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                                    std::to_string(LOWORD(fixed->dwFileVersionLS))};
    // The strings are found under the language and code page the resource declares.
    WORD* translation = nullptr;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < 2 * sizeof(WORD))
        return reply("err", {"no translation"});
    char block[64];
    std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", translation[0],
                  translation[1]);
    for (const char* name : {"FileVersion", "ProductVersion", "ProductName", "FileDescription",
                             "CompanyName", "LegalCopyright"}) {
        wchar_t* value = nullptr;
        const bool found = VerQueryValueW(data.data(), wide(utf8ToUtf16(block + std::string(name))),
                                          reinterpret_cast<void**>(&value), &length);
        fields.push_back(found && value ? utf8FromWide(value) : "");
    }
    reply("ok", fields);
}

DWORD milliseconds(const std::vector<std::string>& args, std::size_t index) {
    return index < args.size() ? static_cast<DWORD>(std::atol(args[index].c_str())) : 0;
}

bool run(const std::vector<std::string>& args) {
    const std::string& command = args[0];
    const std::string arg1 = args.size() > 1 ? args[1] : "";
    const std::string arg2 = args.size() > 2 ? args[2] : "";

    if (command == "quit") return false;
    if (command == "dialog") {
        dialog = waitFor([] { return visibleOrNull(FindWindowW(L"mnemoquill", nullptr)); },
                         milliseconds(args, 1));
        dialog ? reply("ok", {handle(dialog)}) : reply("err", {"no dialog"});
    } else if (command == "main") {
        HWND mainWindow = findMainWindow();
        mainWindow ? reply("ok", {handle(mainWindow)}) : reply("err", {"no main window"});
    } else if (!dialog && (command == "text" || command == "enabled" || command == "checked" ||
                           command == "rect" || command == "title" || command == "menu" ||
                           command == "menu-pos" || command == "command" || command == "close" ||
                           command == "ping")) {
        reply("err", {"no dialog yet"});
    } else if (command == "text") {
        HWND item = control(arg1);
        item ? reply("ok", {windowText(item)}) : reply("err", {"no control"});
    } else if (command == "enabled") {
        HWND item = control(arg1);
        item ? reply("ok", {IsWindowEnabled(item) ? "1" : "0"}) : reply("err", {"no control"});
    } else if (command == "checked") {
        DWORD_PTR state = 0;
        SendMessageTimeoutW(control(arg1), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, sendTimeoutMs,
                            &state);
        reply("ok", {std::to_string(state)});
    } else if (command == "rect") {
        RECT r{};
        HWND item = arg1 == "0" ? dialog : control(arg1);
        if (item && GetWindowRect(item, &r)) {
            reply("ok", {std::to_string(r.left), std::to_string(r.top), std::to_string(r.right),
                         std::to_string(r.bottom)});
        } else {
            reply("err", {"no control"});
        }
    } else if (command == "title") {
        // A top-level window's title is kept by the system, readable from here.
        std::u16string title(static_cast<std::size_t>(GetWindowTextLengthW(dialog)) + 1, u'\0');
        title.resize(static_cast<std::size_t>(
            GetWindowTextW(dialog, wide(title), static_cast<int>(title.size()))));
        reply("ok", {utf16ToUtf8(title)});
    } else if (command == "menu" || command == "menu-pos") {
        menuState(static_cast<UINT>(std::atoi(arg1.c_str())), command == "menu-pos");
    } else if (command == "command") {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(std::atoi(arg1.c_str()), 0), 0)
            ? reply("ok")
            : reply("err", {"post failed"});
    } else if (command == "close") {
        PostMessageW(dialog, WM_CLOSE, 0, 0) ? reply("ok") : reply("err", {"post failed"});
    } else if (command == "close-main") {
        HWND mainWindow = findMainWindow();
        if (mainWindow && PostMessageW(mainWindow, WM_CLOSE, 0, 0)) {
            reply("ok");
        } else {
            reply("err", {"no main window"});
        }
    } else if (command == "foreign-window") {
        HWND window = createForeignWindow();
        GetForegroundWindow() == window ? reply("ok", {handle(window)})
                                        : reply("err", {"not in the foreground"});
    } else if (command == "minimize") {
        ShowWindow(dialog, SW_MINIMIZE);
        IsIconic(dialog) ? reply("ok") : reply("err", {"not minimized"});
    } else if (command == "iconic") {
        reply("ok", {IsIconic(dialog) ? "1" : "0"});
    } else if (command == "hold") {
        HANDLE file =
            CreateFileW(wide(utf8ToUtf16(arg1)), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            reply("err", {std::to_string(GetLastError())});
        } else {
            heldFiles.push_back(file);
            reply("ok");
        }
    } else if (command == "release") {
        for (HANDLE file : heldFiles) CloseHandle(file);
        heldFiles.clear();
        reply("ok");
    } else if (command == "ping") {
        ping();
    } else if (command == "dialogs") {
        std::vector<HWND> windows;
        EnumWindows(collectChild, reinterpret_cast<LPARAM>(&windows));
        const auto count = std::count_if(windows.begin(), windows.end(),
                                         [](HWND w) { return hasClass(w, L"mnemoquill"); });
        reply("ok", {std::to_string(count)});
    } else if (command == "terminate") {
        terminateProgram();
    } else if (command == "recovery-folder") {
        recoveryFolder();
    } else if (command == "forget-recent") {
        const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Mnemoquill");
        status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND
            ? reply("ok")
            : reply("err", {std::to_string(status)});
    } else if (command == "boxes") {
        std::vector<HWND> windows;
        EnumWindows(collectChild, reinterpret_cast<LPARAM>(&windows));
        std::vector<std::string> captions;
        for (HWND window : windows) {
            if (IsWindowVisible(window) && hasClass(window, L"#32770")) {
                captions.push_back(windowText(window));
            }
        }
        reply("ok", captions);
    } else if (command == "wait-foreground") {
        // ok when the program's dialog is in the foreground and not minimized
        HWND now = nullptr;
        waitUntil(
            [&] {
                now = GetForegroundWindow();
                return now && now == dialog && !IsIconic(dialog);
            },
            milliseconds(args, 1))
            ? reply("ok", {handle(now)})
            : reply("err", {handle(now)});
    } else if (command == "box") {
        HWND box = waitFor([&] { return findBox(arg1); }, milliseconds(args, 2));
        box ? reply("ok", describeBox(box)) : reply("err", {"no box " + arg1});
    } else if (command == "answer") {
        HWND box = findBox(arg1);
        const int id = buttonId(arg2);
        if (box && PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                reinterpret_cast<LPARAM>(GetDlgItem(box, id)))) {
            reply("ok");
        } else {
            reply("err", {"no box " + arg1});
        }
    } else if (command == "no-box") {
        HWND box = waitFor([&] { return findBox(arg1); }, milliseconds(args, 2));
        box ? reply("err", describeBox(box)) : reply("ok");
    } else if (command == "gone") {
        waitUntil([&] { return !findBox(arg1); }, milliseconds(args, 2))
            ? reply("ok")
            : reply("err", {"still there"});
    } else if (command == "window") {
        HWND window = waitFor([&] { return findOwnWindow(arg1); }, milliseconds(args, 2));
        RECT r{};
        wchar_t name[256] = {};
        if (window && GetWindowRect(window, &r) && GetClassNameW(window, name, 256)) {
            reply("ok", {ownerName(window), utf8FromWide(name), std::to_string(r.left),
                         std::to_string(r.top), std::to_string(r.right), std::to_string(r.bottom),
                         GetForegroundWindow() == window ? "1" : "0"});
        } else {
            reply("err", {"no window " + arg1});
        }
    } else if (command == "window-gone") {
        waitUntil([&] { return !findOwnWindow(arg1); }, milliseconds(args, 2))
            ? reply("ok")
            : reply("err", {"still there"});
    } else if (command == "x11") {
        // Wine keeps the X window of every top-level window in this property.
        HWND window = arg1.empty() ? dialog : findBox(arg1);
        if (!window && !arg1.empty()) window = findOwnWindow(arg1);
        const auto x11 =
            window ? reinterpret_cast<std::uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"))
                   : 0;
        x11 ? reply("ok", {std::to_string(x11)}) : reply("err", {"no X window"});
    } else if (command == "module") {
        dialog ? modulePath(arg1) : reply("err", {"no dialog yet"});
    } else if (command == "version") {
        versionResource(arg1);
    } else if (command == "field") {
        HWND box = findBox(arg1);
        HWND item = box ? GetDlgItem(box, std::atoi(arg2.c_str())) : nullptr;
        item ? reply("ok", {windowText(item)}) : reply("err", {"no such field"});
    } else {
        reply("err", {"unknown command " + command});
    }
    return true;
}

}  // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (!run(split(line))) break;
    }
    return 0;
}
