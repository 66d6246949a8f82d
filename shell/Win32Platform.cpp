#include "shell/Win32Platform.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cstddef>

#include "shell/AnswerEntry.h"
#include "shell/ChangedFileDialog.h"
#include "shell/FindDialog.h"
#include "shell/PaneFonts.h"
#include "shell/ProgressWindow.h"
#include "shell/RecycleBin.h"
#include "shell/ScheduleDialog.h"
#include "view/ControlIds.h"
#include "view/PaneFace.h"
#include "view/RecentFiles.h"

namespace {

// The file dialogs' record as it was before Windows 2000 added members to it
// (OPENFILENAME_SIZE_VERSION_400A, which is no constant expression in MinGW): 76
// bytes in the 32-bit program.
constexpr DWORD openFileNameSize = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
static_assert(sizeof(void*) != 4 || openFileNameSize == 76, "the 32-bit record is 76 bytes");

constexpr wchar_t cardFileFilter[] = L"Textfile (*.txt)\0*.txt\0Mnemoquill (*.mqf)\0*.mqf\0\0";
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
        // Straight into `out`: a whole deck read through a buffer would be held twice.
        const std::size_t start = out.size();
        out.resize(start + count);
        DWORD got = 0;
        SetLastError(0);
        const BOOL ok = ReadFile(handle_, &out[start], count, &got, nullptr);
        error = ok ? 0 : GetLastError();
        out.resize(start + got);
        return ok != FALSE;
    }

private:
    HANDLE handle_;
};

// Wide paths with the \\?\ prefix reach past MAX_PATH, so a card file that could
// be opened can always be saved, its temporary copy's longer name included.
std::u16string widePath(const std::string& path) {
    std::u16string given = utf8ToUtf16(path);
    const DWORD needed = GetFullPathNameW(wide(given), 0, nullptr, nullptr);
    if (given.empty() || needed == 0) return given;
    std::u16string full(needed, u'\0');
    full.resize(GetFullPathNameW(wide(given), needed, wide(full), nullptr));
    if (full.rfind(u"\\\\?\\", 0) == 0) return full;
    if (full.rfind(u"\\\\", 0) == 0) return u"\\\\?\\UNC\\" + full.substr(2);
    return u"\\\\?\\" + full;
}

HANDLE openFile(const std::string& path, DWORD access, DWORD disposition) {
    SetLastError(0);
    return CreateFileW(wide(widePath(path)), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       disposition, 0, nullptr);
}

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

    bool commit(ErrorCode& error) override { return finish(true, error); }
    bool close(ErrorCode& error) override { return finish(false, error); }
    bool flush(ErrorCode& error) override {
        SetLastError(0);
        const BOOL flushed = FlushFileBuffers(handle_);
        error = flushed ? 0 : GetLastError();
        return flushed != FALSE;
    }

private:
    bool finish(bool durable, ErrorCode& error) {
        SetLastError(0);
        const BOOL flushed = SetEndOfFile(handle_) && (!durable || FlushFileBuffers(handle_));
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
    std::u16string chosen(fileNameCapacity, u'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = openFileNameSize;
    dialog.hwndOwner = toHwnd(owner);
    dialog.lpstrFilter = cardFileFilter;
    dialog.lpstrFile = wide(chosen);
    dialog.nMaxFile = fileNameCapacity;
    dialog.Flags = save ? (OFN_EXPLORER | OFN_OVERWRITEPROMPT) : OFN_EXPLORER;
    dialog.lpstrDefExt = save ? L"txt" : nullptr;
    const BOOL ok = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!ok) return std::nullopt;
    chosen.resize(chosen.find(u'\0'));
    return utf16ToUtf8(chosen);
}

}  // namespace

int Win32MessageBoxes::show(WindowRef owner, const std::string& text, const char* caption,
                            unsigned type) {
    const std::u16string wideCaption = caption ? utf8ToUtf16(caption) : std::u16string();
    return MessageBoxW(toHwnd(owner), wide(utf8ToUtf16(text)),
                       caption ? wide(wideCaption) : nullptr, type);
}

std::unique_ptr<InputFile> Win32FileSystem::openForReading(const std::string& path,
                                                           ErrorCode& error) {
    HANDLE handle = openFile(path, GENERIC_READ, OPEN_EXISTING);
    error = handle == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32InputFile>(handle);
}

namespace {
std::unique_ptr<OutputFile> openOutput(const std::string& path, DWORD disposition,
                                       ErrorCode& error) {
    HANDLE handle = openFile(path, GENERIC_READ | GENERIC_WRITE, disposition);
    // CREATE_ALWAYS leaves ERROR_ALREADY_EXISTS behind when it replaced a file;
    // that is a success, so it is not handed on.
    error = handle == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32OutputFile>(handle);
}
}  // namespace

std::unique_ptr<OutputFile> Win32FileSystem::createForWriting(const std::string& path,
                                                              ErrorCode& error) {
    return openOutput(path, CREATE_ALWAYS, error);
}

std::unique_ptr<OutputFile> Win32FileSystem::createNew(const std::string& path, ErrorCode& error) {
    return openOutput(path, CREATE_NEW, error);
}

std::unique_ptr<OutputFile> Win32FileSystem::openForOverwriting(const std::string& path,
                                                                ErrorCode& error) {
    return openOutput(path, OPEN_EXISTING, error);
}

bool Win32FileSystem::replace(const std::string& source, const std::string& target,
                              ErrorCode& error) {
    SetLastError(0);
    const BOOL ok = MoveFileExW(wide(widePath(source)), wide(widePath(target)),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    error = ok ? 0 : GetLastError();
    return ok != FALSE;
}

void Win32FileSystem::remove(const std::string& path) { DeleteFileW(wide(widePath(path))); }

std::optional<std::uint32_t> Win32FileSystem::attributes(const std::string& path) {
    const DWORD bits = GetFileAttributesW(wide(widePath(path)));
    if (bits == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return bits;
}

bool Win32FileSystem::setAttributes(const std::string& path, std::uint32_t bits, ErrorCode& error) {
    SetLastError(0);
    const BOOL ok = SetFileAttributesW(wide(widePath(path)), bits);
    error = ok ? 0 : GetLastError();
    return ok != FALSE;
}

std::string Win32FileSystem::finalPath(const std::string& path) {
    HANDLE handle = CreateFileW(wide(widePath(path)), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return path;
    std::u16string final(MAX_PATH, u'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, wide(final), static_cast<DWORD>(final.size()),
                                             VOLUME_NAME_DOS);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = GetFinalPathNameByHandleW(handle, wide(final), static_cast<DWORD>(final.size()),
                                           VOLUME_NAME_DOS);
    }
    CloseHandle(handle);
    if (length == 0 || length >= final.size()) return path;
    final.resize(length);
    if (final.rfind(u"\\\\?\\UNC\\", 0) == 0) {
        final = u"\\\\" + final.substr(8);
    } else if (final.rfind(u"\\\\?\\", 0) == 0) {
        final = final.substr(4);
    }
    return utf16ToUtf8(final);
}

std::string Win32FileSystem::temporaryFolder() {
    std::u16string folder(MAX_PATH + 1, u'\0');
    folder.resize(GetTempPathW(static_cast<DWORD>(folder.size()), wide(folder)));
    return utf16ToUtf8(folder);
}

namespace {
std::uint64_t fileTime(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
}  // namespace

std::optional<FileStamp> Win32FileSystem::stamp(const std::string& path, ErrorCode& error) {
    // Through a handle, so that a link gives the stamp of the file it leads to.
    SetLastError(0);
    HANDLE handle = CreateFileW(wide(widePath(path)), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = GetFileInformationByHandle(handle, &info);
    error = ok ? 0 : GetLastError();
    CloseHandle(handle);
    if (!ok) return std::nullopt;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return FileStamp{(static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                     fileTime(info.ftLastWriteTime), fileTime(now)};
}

std::unique_ptr<OutputFile> Win32FileSystem::openForAppending(const std::string& path,
                                                              ErrorCode& error) {
    // Shared for reading only: no other program can write or remove it while held.
    SetLastError(0);
    HANDLE handle = CreateFileW(wide(widePath(path)), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return nullptr;
    }
    LARGE_INTEGER end{};
    SetFilePointerEx(handle, end, nullptr, FILE_END);
    error = 0;
    return std::make_unique<Win32OutputFile>(handle);
}

namespace {
std::string hex(std::uint64_t value) {
    std::string text;
    for (int shift = 60; shift >= 0; shift -= 4) text += "0123456789abcdef"[(value >> shift) & 0xF];
    return text;
}
}  // namespace

Win32RecoveryPlace::Win32RecoveryPlace() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    runName_ = hex(GetCurrentProcessId()).substr(8) + "-" + hex(fileTime(now));
}

std::optional<std::string> Win32RecoveryPlace::folder(ErrorCode& error) {
    std::u16string base(MAX_PATH, u'\0');
    const HRESULT found = SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE,
                                           nullptr, SHGFP_TYPE_CURRENT, wide(base));
    if (FAILED(found)) {
        error = static_cast<ErrorCode>(HRESULT_CODE(found));
        return std::nullopt;
    }
    base.resize(base.find(u'\0'));
    std::u16string folder = base;
    for (const char16_t* step : {u"\\Mnemoquill", u"\\Recovery"}) {
        folder += step;
        SetLastError(0);
        if (!CreateDirectoryW(wide(folder), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            error = GetLastError();
            return std::nullopt;
        }
    }
    return utf16ToUtf8(folder + u"\\");
}

std::vector<std::string> Win32RecoveryPlace::fileNames(const std::string& folder) {
    return ::fileNamesIn(folder);
}

std::optional<std::string> Win32FileDialogs::chooseFileToOpen(WindowRef owner) {
    return runFileDialog(owner, false);
}

std::optional<std::string> Win32FileDialogs::chooseFileToSave(WindowRef owner) {
    return runFileDialog(owner, true);
}

namespace {
constexpr wchar_t recentKey[] = L"Software\\Mnemoquill";

std::u16string recentValueName(std::size_t index) {
    return u"Recent" + utf8ToUtf16(std::to_string(index + 1));
}
}  // namespace

std::vector<std::string> Win32RecentStore::load() {
    std::vector<std::string> paths;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, recentKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return paths;
    }
    for (std::size_t index = 0; index < RecentFiles::limit; ++index) {
        const std::u16string name = recentValueName(index);
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(key, wide(name), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
            type != REG_SZ) {
            continue;
        }
        // One unit more than asked for: a value written without its terminator
        // still ends in one here.
        std::u16string value(bytes / sizeof(char16_t) + 1, u'\0');
        if (RegQueryValueExW(key, wide(name), nullptr, &type, reinterpret_cast<BYTE*>(wide(value)),
                             &bytes) != ERROR_SUCCESS) {
            continue;
        }
        value.resize(std::min<std::size_t>(value.find(u'\0'), bytes / sizeof(char16_t)));
        if (!value.empty()) paths.push_back(utf16ToUtf8(value));
    }
    RegCloseKey(key);
    return paths;
}

bool Win32RecentStore::save(const std::vector<std::string>& paths, ErrorCode& error) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, recentKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &key, nullptr);
    error = static_cast<ErrorCode>(status);
    if (status != ERROR_SUCCESS) return false;
    for (std::size_t index = 0; index < RecentFiles::limit; ++index) {
        const std::u16string name = recentValueName(index);
        if (index < paths.size()) {
            const std::u16string value = utf8ToUtf16(paths[index]);
            status = RegSetValueExW(key, wide(name), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(wide(value)),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
        } else {
            status = RegDeleteValueW(key, wide(name));
            if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
        }
        if (error == 0) error = static_cast<ErrorCode>(status);
    }
    RegCloseKey(key);
    return error == 0;
}

std::optional<std::uint32_t> Win32SettingsStore::loadNumber(const std::string& name) {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    const std::u16string valueName = utf8ToUtf16(name);
    if (RegGetValueW(HKEY_CURRENT_USER, recentKey, wide(valueName), RRF_RT_REG_DWORD, nullptr,
                     &value, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

bool Win32SettingsStore::saveNumber(const std::string& name, std::uint32_t value,
                                    ErrorCode& error) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, recentKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        const std::u16string valueName = utf8ToUtf16(name);
        const DWORD number = value;
        status = RegSetValueExW(key, wide(valueName), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&number), sizeof(number));
        RegCloseKey(key);
    }
    error = static_cast<ErrorCode>(status);
    return status == ERROR_SUCCESS;
}

namespace {
std::uint64_t randomSeed() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return static_cast<std::uint64_t>(counter.QuadPart) ^
           (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32);
}
}  // namespace

Win32Random::Win32Random() : engine_(static_cast<std::mt19937::result_type>(randomSeed())) {}

std::uint32_t Win32Random::next() { return static_cast<std::uint32_t>(engine_()); }

CalendarDay Win32Clock::today() { return now().day; }

LocalTime Win32Clock::now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalTime{dayFromDate(now.wYear, now.wMonth, now.wDay), now.wHour * 60 + now.wMinute};
}

std::string Win32Strings::load(unsigned id, std::size_t capacity) {
    // A zero size would make LoadStringW hand out a pointer instead of a copy.
    if (capacity == 0) return {};
    std::u16string text(capacity, u'\0');
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, wide(text), static_cast<int>(capacity));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return utf16ToUtf8(text);
}

bool Win32Dialog::isControlEnabled(int id) {
    HWND control = GetDlgItem(dialog_, id);
    if (!control) return true;
    return (GetWindowLongW(control, GWL_STYLE) & WS_DISABLED) == 0;
}

void Win32Dialog::enableControl(int id, bool enable) {
    EnableWindow(GetDlgItem(dialog_, id), enable ? TRUE : FALSE);
}

void Win32Dialog::setControlText(int id, const std::string& text) {
    SendDlgItemMessageW(dialog_, id, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(wide(utf8ToUtf16(text))));
    // Multi-line edits report no change for a text set this way.
    if (isCardPane(id)) fitPaneFont(GetDlgItem(dialog_, id));
}

std::string Win32Dialog::controlText(int id) {
    const LRESULT length = SendDlgItemMessageW(dialog_, id, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const LRESULT copied = SendDlgItemMessageW(dialog_, id, WM_GETTEXT, text.size(),
                                               reinterpret_cast<LPARAM>(wide(text)));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return utf16ToUtf8(text);
}

void Win32Dialog::setFocus(int id) { SetFocus(GetDlgItem(dialog_, id)); }

void Win32Dialog::setTitle(const std::string& title) {
    SetWindowTextW(dialog_, wide(utf8ToUtf16(title)));
}

void Win32Dialog::setCheck(int id, bool checked) {
    SendDlgItemMessageW(dialog_, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Dialog::isChecked(int id) {
    return SendDlgItemMessageW(dialog_, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Dialog::setPushed(int id, bool pushed) {
    SendDlgItemMessageW(dialog_, id, BM_SETSTATE, pushed ? TRUE : FALSE, 0);
}

void Win32Dialog::click(int id) { SendDlgItemMessageW(dialog_, id, BM_CLICK, 1, 0); }

bool Win32Dialog::isModified(int id) {
    return SendDlgItemMessageW(dialog_, id, EM_GETMODIFY, 0, 0) != 0;
}

void Win32Dialog::setReadOnly(int id, bool readOnly) {
    SendDlgItemMessageW(dialog_, id, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Win32Dialog::enableMenuItem(int id, bool enable) {
    EnableMenuItem(GetMenu(dialog_), id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void Win32Dialog::checkMenuItem(int id, bool check) {
    CheckMenuItem(GetMenu(dialog_), id, MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Dialog::checkMenuRadioItem(int first, int last, int id) {
    CheckMenuRadioItem(GetMenu(dialog_), static_cast<UINT>(first), static_cast<UINT>(last),
                       static_cast<UINT>(id), MF_BYCOMMAND);
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

int Win32Dialog::focusedControl() {
    HWND focus = GetFocus();
    return focus && GetParent(focus) == dialog_ ? GetDlgCtrlID(focus) : 0;
}

void Win32Dialog::undoTyping(int id) { SendDlgItemMessageW(dialog_, id, EM_UNDO, 0, 0); }

bool Win32Dialog::askFindText(std::string& text) { return showFindDialog(dialog_, text); }

bool Win32Dialog::askBoxDays(BoxDaysTexts& texts, const BoxDaysCheck& check) {
    return showScheduleDialog(dialog_, texts, check);
}

std::vector<std::string> Win32FileSystem::fileNamesIn(const std::string& folder) {
    return ::fileNamesIn(folder);
}

bool Win32FileSystem::moveToRecycleBin(const std::string& path) { return ::moveToRecycleBin(path); }

int Win32Dialog::askChangedFile(const std::string& text) { return ::askChangedFile(dialog_, text); }

void Win32Dialog::showProgress(const ProgressData& data) { showProgressWindow(dialog_, data); }

bool Win32Dialog::isProgressOpen() { return isProgressWindowOpen(); }

void Win32Dialog::refreshProgress(const ProgressData& data) { refreshProgressWindow(data); }

namespace {
std::string mapCase(std::string_view text, const wchar_t* locale, DWORD flags) {
    const std::u16string from = utf8ToUtf16(text);
    if (from.empty()) return {};
    const auto map = [&](std::u16string& to) {
        return LCMapStringEx(locale, flags, wide(from), static_cast<int>(from.size()), wide(to),
                             static_cast<int>(to.size()), nullptr, nullptr, 0);
    };
    // Case maps one unit to one almost always; asking for the size first would
    // double the calls of a search through a whole deck.
    std::u16string mapped(from.size(), u'\0');
    int written = map(mapped);
    if (written <= 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        mapped.assign(static_cast<std::size_t>(LCMapStringEx(locale, flags, wide(from),
                                                             static_cast<int>(from.size()), nullptr,
                                                             0, nullptr, nullptr, 0)),
                      u'\0');
        written = map(mapped);
    }
    if (written <= 0) return std::string(text);
    mapped.resize(static_cast<std::size_t>(written));
    return utf16ToUtf8(mapped);
}
}  // namespace

std::string Win32CaseFolding::fold(std::string_view text) {
    // Linguistic casing is what the user's language calls the same letter, the
    // Turkish dotless i included.
    return mapCase(text, LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING);
}

std::string Win32CaseFolding::foldFileName(std::string_view name) {
    // File systems compare names by one upper-case table for every language.
    return mapCase(name, LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE);
}

void Win32Dialog::setDefaultButton(int id) { ::setDefaultButton(dialog_, id); }

void Win32Dialog::showAnswerEntry(bool shown) { ::showAnswerEntry(dialog_, shown); }

void Win32Dialog::showResultLine(const std::string& text, const std::vector<TextSpan>& marked) {
    // The marks count bytes of UTF-8; the line is drawn in UTF-16 units.
    const auto units = [&text](std::size_t bytes) {
        return static_cast<int>(utf8ToUtf16(std::string_view(text).substr(0, bytes)).size());
    };
    std::vector<std::pair<int, int>> inUnits;
    for (const TextSpan& span : marked) inUnits.emplace_back(units(span.from), units(span.to));
    const std::u16string line = utf8ToUtf16(text);
    setResultLine(dialog_, std::wstring(line.begin(), line.end()), std::move(inUnits));
}

void Win32Dialog::showRecentFiles(const std::vector<std::string>& labels) {
    HMENU file = GetSubMenu(GetMenu(dialog_), ids::filePopupPosition);
    if (!file) return;
    for (int id = ids::recentFilesSeparator; id <= ids::recentFile4; ++id) {
        DeleteMenu(file, static_cast<UINT>(id), MF_BYCOMMAND);
    }
    if (labels.empty()) return;
    // A separator with an id of its own, so that it can be found and taken away.
    MENUITEMINFOW separator{};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_FTYPE | MIIM_ID;
    separator.fType = MFT_SEPARATOR;
    separator.wID = ids::recentFilesSeparator;
    InsertMenuItemW(file, static_cast<UINT>(GetMenuItemCount(file)), TRUE, &separator);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        AppendMenuW(file, MF_STRING, static_cast<UINT_PTR>(ids::recentFile1 + i),
                    wide(utf8ToUtf16(labels[i])));
    }
}
