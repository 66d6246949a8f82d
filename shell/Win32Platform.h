#pragma once
// The Win32 side of the platform interfaces: each member is one or two calls of
// the system, with no decisions of the program in it.
#include <windows.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/CalendarDay.h"
#include "platform/CaseFolding.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/RandomSource.h"
#include "platform/RecentStore.h"
#include "platform/SettingsStore.h"
#include "platform/StringResources.h"
#include "platform/WideText.h"
#include "platform/WindowRef.h"
#include "view/DialogPort.h"

inline HWND toHwnd(WindowRef window) { return reinterpret_cast<HWND>(window); }
inline WindowRef toWindowRef(HWND window) { return reinterpret_cast<WindowRef>(window); }

class Win32MessageBoxes : public MessageBoxes {
public:
    int show(WindowRef owner, const std::string& text, const char* caption, unsigned type) override;
};

class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<InputFile> openForReading(const std::string& path, ErrorCode& error) override;
    std::unique_ptr<OutputFile> createForWriting(const std::string& path,
                                                 ErrorCode& error) override;
    std::unique_ptr<OutputFile> createNew(const std::string& path, ErrorCode& error) override;
    std::unique_ptr<OutputFile> openForOverwriting(const std::string& path,
                                                   ErrorCode& error) override;
    bool replace(const std::string& source, const std::string& target, ErrorCode& error) override;
    void remove(const std::string& path) override;
    std::optional<std::uint32_t> attributes(const std::string& path) override;
    bool setAttributes(const std::string& path, std::uint32_t attributes,
                       ErrorCode& error) override;
    std::string finalPath(const std::string& path) override;
    std::string temporaryFolder() override;
    std::optional<FileStamp> stamp(const std::string& path, ErrorCode& error) override;
    std::unique_ptr<OutputFile> openForAppending(const std::string& path,
                                                 ErrorCode& error) override;
    std::vector<std::string> fileNamesIn(const std::string& folder) override;
    bool moveToRecycleBin(const std::string& path) override;
};

// %LOCALAPPDATA%\Mnemoquill\Recovery, and this run named by its process id and
// the moment it started.
class Win32RecoveryPlace : public RecoveryPlace {
public:
    Win32RecoveryPlace();
    std::optional<std::string> folder(ErrorCode& error) override;
    std::vector<std::string> fileNames(const std::string& folder) override;
    std::string runName() override { return runName_; }

private:
    std::string runName_;
};

class Win32FileDialogs : public FileDialogs {
public:
    std::optional<std::string> chooseFileToOpen(WindowRef owner) override;
    std::optional<std::string> chooseFileToSave(WindowRef owner) override;
};

class Win32CaseFolding : public CaseFolding {
public:
    std::string fold(std::string_view text) override;
    std::string foldFileName(std::string_view name) override;
};

// The recent card files under HKEY_CURRENT_USER\Software\Mnemoquill, as the
// wide values Recent1 to Recent4.
class Win32RecentStore : public RecentStore {
public:
    std::vector<std::string> load() override;
    bool save(const std::vector<std::string>& paths, ErrorCode& error) override;
};

// The user's settings under the same key, as REG_DWORD values.
class Win32SettingsStore : public SettingsStore {
public:
    std::optional<std::uint32_t> loadNumber(const std::string& name) override;
    bool saveNumber(const std::string& name, std::uint32_t value, ErrorCode& error) override;
};

class Win32Clock : public Clock {
public:
    CalendarDay today() override;
    LocalTime now() override;
};

// A coin good enough for drawing a card's direction, seeded anew at each start.
class Win32Random : public RandomSource {
public:
    Win32Random();
    std::uint32_t next() override;

private:
    std::mt19937 engine_;
};

class Win32Strings : public StringResources {
public:
    std::string load(unsigned id, std::size_t capacity) override;
};

// One dialog window's controls and menu. Holds only the handle, so one can be
// made wherever a handle is at hand.
class Win32Dialog : public DialogPort {
public:
    explicit Win32Dialog(HWND dialog) : dialog_(dialog) {}

    WindowRef window() const override { return toWindowRef(dialog_); }

    bool isControlEnabled(int id) override;
    void enableControl(int id, bool enable) override;
    void setControlText(int id, const std::string& text) override;
    std::string controlText(int id) override;
    void setFocus(int id) override;
    void setTitle(const std::string& title) override;

    void setCheck(int id, bool checked) override;
    bool isChecked(int id) override;
    void setPushed(int id, bool pushed) override;
    void click(int id) override;

    bool isModified(int id) override;
    void setReadOnly(int id, bool readOnly) override;

    void enableMenuItem(int id, bool enable) override;
    void checkMenuItem(int id, bool check) override;
    void checkMenuRadioItem(int first, int last, int id) override;
    bool isMenuItemChecked(int id) override;
    void enableMenuPopup(int position, bool enable) override;
    void drawMenuBar() override;
    void showRecentFiles(const std::vector<std::string>& labels) override;
    void setDefaultButton(int id) override;
    void showAnswerEntry(bool shown) override;
    void showResultLine(const std::string& text, const std::vector<TextSpan>& marked) override;

    int focusedControl() override;
    void undoTyping(int id) override;
    bool askFindText(std::string& text) override;
    bool askBoxDays(BoxDaysTexts& texts, const BoxDaysCheck& check) override;
    int askChangedFile(const std::string& text) override;
    void showProgress(const ProgressData& data) override;
    bool isProgressOpen() override;
    void refreshProgress(const ProgressData& data) override;

private:
    HWND dialog_;
};

// The Win32 services, alive for the whole run, handed to the core as one Platform.
struct Win32Services {
    Win32Services() = default;
    // `platform` refers to the members; a copy would refer to the original's.
    Win32Services(const Win32Services&) = delete;
    Win32Services& operator=(const Win32Services&) = delete;

    Win32MessageBoxes messageBoxes;
    Win32FileSystem files;
    Win32FileDialogs fileDialogs;
    Win32Strings strings;
    Win32CaseFolding caseFolding;
    Win32Clock clock;
    Win32SettingsStore settings;
    Win32Random random;
    Win32RecoveryPlace recovery;
    Platform platform{messageBoxes, files,    fileDialogs, strings, caseFolding,
                      clock,        settings, random,      recovery};
    Win32RecentStore recentStore;
};
