#include "shell/Win32Platform.h"

#include <commdlg.h>

#include <cstddef>

namespace {

// The file dialogs' record as it was before Windows 2000 added members to it
// (OPENFILENAME_SIZE_VERSION_400A, which is no constant expression in MinGW).
constexpr DWORD openFileNameSize = 76;
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == openFileNameSize,
              "the record ends with lpTemplateName");

constexpr char cardFileFilter[] = "Textfile (*.txt)\0*.txt\0Mnemoquill (*.mqf)\0*.mqf\0\0";
constexpr DWORD fileNameCapacity = 260;  // MAX_PATH; a longer choice counts as cancelled

class Win32InputFile : public InputFile {
public:
    explicit Win32InputFile(HANDLE handle) : handle_(handle) {}
    ~Win32InputFile() override { CloseHandle(handle_); }
    Win32InputFile(const Win32InputFile&) = delete;
    Win32InputFile& operator=(const Win32InputFile&) = delete;

    std::uint32_t size() override {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(handle_, &info)) return 0;
        return info.nFileSizeLow;
    }

    bool read(std::string& out, std::uint32_t count, ErrorCode& error) override {
        std::string buffer(count, '\0');
        DWORD got = 0;
        SetLastError(0);
        const BOOL ok = ReadFile(handle_, buffer.data(), count, &got, nullptr);
        error = ok ? 0 : GetLastError();
        out.append(buffer, 0, got);
        return ok != FALSE;
    }

private:
    HANDLE handle_;
};

class Win32OutputFile : public OutputFile {
public:
    explicit Win32OutputFile(HANDLE handle) : handle_(handle) {}
    ~Win32OutputFile() override {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    Win32OutputFile(const Win32OutputFile&) = delete;
    Win32OutputFile& operator=(const Win32OutputFile&) = delete;

    bool write(const std::string& bytes, std::size_t& written, ErrorCode& error) override {
        DWORD taken = 0;
        SetLastError(0);
        const BOOL ok =
            WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &taken, nullptr);
        written = taken;
        error = ok ? 0 : GetLastError();
        return ok != FALSE;
    }

    bool commit(ErrorCode& error) override {
        SetLastError(0);
        const BOOL flushed = FlushFileBuffers(handle_);
        error = flushed ? 0 : GetLastError();
        SetLastError(0);
        const BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        if (flushed && !closed) error = GetLastError();
        return flushed && closed;
    }

private:
    HANDLE handle_;
};

std::optional<std::string> runFileDialog(WindowRef owner, bool save) {
    std::string chosen(fileNameCapacity, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = openFileNameSize;
    dialog.hwndOwner = toHwnd(owner);
    dialog.lpstrFilter = cardFileFilter;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = fileNameCapacity;
    dialog.Flags = save ? (OFN_EXPLORER | OFN_OVERWRITEPROMPT) : OFN_EXPLORER;
    dialog.lpstrDefExt = save ? "txt" : nullptr;
    const BOOL ok = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!ok) return std::nullopt;
    chosen.resize(chosen.find('\0'));
    return chosen;
}

}  // namespace

int Win32MessageBoxes::show(WindowRef owner, const std::string& text, const char* caption,
                            unsigned type) {
    return MessageBoxA(toHwnd(owner), text.c_str(), caption, type);
}

std::unique_ptr<InputFile> Win32FileSystem::openForReading(const std::string& path,
                                                           ErrorCode& error) {
    SetLastError(0);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return nullptr;
    }
    error = 0;
    return std::make_unique<Win32InputFile>(handle);
}

std::unique_ptr<OutputFile> Win32FileSystem::createForWriting(const std::string& path,
                                                              ErrorCode& error) {
    SetLastError(0);
    HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return nullptr;
    }
    // CREATE_ALWAYS leaves ERROR_ALREADY_EXISTS behind when it replaced a file;
    // that is a success, so it is not handed on.
    error = 0;
    return std::make_unique<Win32OutputFile>(handle);
}

bool Win32FileSystem::replace(const std::string& source, const std::string& target,
                              ErrorCode& error) {
    SetLastError(0);
    const BOOL ok = MoveFileExA(source.c_str(), target.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    error = ok ? 0 : GetLastError();
    return ok != FALSE;
}

void Win32FileSystem::remove(const std::string& path) { DeleteFileA(path.c_str()); }

std::optional<std::string> Win32FileDialogs::chooseFileToOpen(WindowRef owner) {
    return runFileDialog(owner, false);
}

std::optional<std::string> Win32FileDialogs::chooseFileToSave(WindowRef owner) {
    return runFileDialog(owner, true);
}

std::string Win32Strings::load(unsigned id, std::size_t capacity) {
    // A zero size would make LoadStringA hand out a pointer instead of a copy.
    if (capacity == 0) return {};
    std::string text(capacity, '\0');
    const int length =
        LoadStringA(GetModuleHandleA(nullptr), id, text.data(), static_cast<int>(capacity));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

bool Win32Dialog::isControlEnabled(int id) {
    HWND control = GetDlgItem(dialog_, id);
    if (!control) return true;
    return (GetWindowLongA(control, GWL_STYLE) & WS_DISABLED) == 0;
}

void Win32Dialog::enableControl(int id, bool enable) {
    EnableWindow(GetDlgItem(dialog_, id), enable ? TRUE : FALSE);
}

void Win32Dialog::setControlText(int id, const std::string& text) {
    SendDlgItemMessageA(dialog_, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string Win32Dialog::controlText(int id) {
    const LRESULT length = SendDlgItemMessageA(dialog_, id, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = SendDlgItemMessageA(dialog_, id, WM_GETTEXT, text.size(),
                                               reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void Win32Dialog::setFocus(int id) { SetFocus(GetDlgItem(dialog_, id)); }

void Win32Dialog::setTitle(const std::string& title) { SetWindowTextA(dialog_, title.c_str()); }

void Win32Dialog::setCheck(int id, bool checked) {
    SendDlgItemMessageA(dialog_, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Dialog::isChecked(int id) {
    return SendDlgItemMessageA(dialog_, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Dialog::setPushed(int id, bool pushed) {
    SendDlgItemMessageA(dialog_, id, BM_SETSTATE, pushed ? TRUE : FALSE, 0);
}

void Win32Dialog::click(int id) { SendDlgItemMessageA(dialog_, id, BM_CLICK, 1, 0); }

bool Win32Dialog::isModified(int id) {
    return SendDlgItemMessageA(dialog_, id, EM_GETMODIFY, 0, 0) != 0;
}

void Win32Dialog::setReadOnly(int id, bool readOnly) {
    SendDlgItemMessageA(dialog_, id, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Win32Dialog::enableMenuItem(int id, bool enable) {
    EnableMenuItem(GetMenu(dialog_), id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void Win32Dialog::checkMenuItem(int id, bool check) {
    CheckMenuItem(GetMenu(dialog_), id, MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED));
}

bool Win32Dialog::isMenuItemChecked(int id) {
    const UINT state = GetMenuState(GetMenu(dialog_), id, MF_BYCOMMAND);
    // 0xFFFFFFFF means "no such item", not "every flag set".
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void Win32Dialog::enableMenuPopup(int position, bool enable) {
    EnableMenuItem(GetMenu(dialog_), position, MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
}

void Win32Dialog::drawMenuBar() { DrawMenuBar(dialog_); }
