#include "shell/MainWindow.h"

#include <shellapi.h>

#include <cstring>
#include <memory>
#include <optional>

#include "platform/MQMessage.h"
#include "shell/AnswerEntry.h"
#include "shell/PaneFonts.h"
#include "shell/Win32TextKnowledge.h"
#include "view/AnswerCommands.h"
#include "view/CommandDispatch.h"
#include "view/CommandLine.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"
#include "view/PaneFace.h"

namespace {

constexpr wchar_t mainClassName[] = L"MQMainClass";
constexpr wchar_t mainWindowName[] = L"Mnemoquill";
constexpr wchar_t dialogClassName[] = L"mnemoquill";
constexpr wchar_t helpFile[] = L".\\Mnemoquill.hlp";

// A second start hands its card file over in WM_COPYDATA under this tag ("MQDk").
constexpr ULONG_PTR deckPathTag = 0x4D51446B;
// The longest path Windows knows, with its terminator.
constexpr DWORD longestPathUnits = 32768;
constexpr UINT openDeckMessage = WM_APP + 1;
constexpr UINT_PTR openDeckTimer = 1;
constexpr UINT openDeckRetryMs = 250;
constexpr UINT handOverTimeoutMs = 10000;
// What is due changes at midnight; a minute late is soon enough, and cheap.
constexpr UINT_PTR dayTimer = 2;
constexpr UINT dayTimerMs = 60 * 1000;
// The recovery record reaches the disk within 2 s of a change.
constexpr UINT_PTR recoveryTimer = 3;
constexpr UINT recoveryTimerMs = 2000;
constexpr UINT offerRecoveryMessage = WM_APP + 2;

MainWindowRecord* recordOf(HWND mainWindow) {
    return reinterpret_cast<MainWindowRecord*>(GetWindowLongPtrW(mainWindow, GWLP_USERDATA));
}

MQMainView* controllerOf(HWND dialog) {
    return reinterpret_cast<MQMainView*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

// The controller, the features attached to it from outside and the services they
// reach the system through: created on the first call, alive until the process ends.
struct Trainer {
    Trainer() { controller.attach(typedAnswers); }
    Win32Services services;
    Win32TextKnowledge knowledge;
    MQMainView controller{services.platform, services.recentStore};
    TypedAnswers typedAnswers{services.settings, knowledge, services.messageBoxes};
};

Trainer& theTrainer() {
    static Trainer trainer;
    return trainer;
}

MQMainView& theController() { return theTrainer().controller; }

void onMainWindowCreate(HWND window, LPARAM lParam) {
    auto record = std::make_unique<MainWindowRecord>();
    record->creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (!record->creation) {
        MessageBoxW(window, L"no struct", L"", MB_OK);
    } else {
        record->controller = static_cast<MQMainView*>(record->creation->lpCreateParams);
        MainDialog dialog;
        dialog.registerDialogClass(record->creation->hInstance);
        record->dialog = dialog.createMainDialog(*record->controller);
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record.release()));
}

INT_PTR answerMenuStateQuery(HWND dialog, WPARAM item, LPARAM byPosition) {
    const UINT state = GetMenuState(GetMenu(dialog), static_cast<UINT>(item),
                                    byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    // A dialog procedure's own result only says "handled"; the message's result
    // goes through DWLP_MSGRESULT.
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, static_cast<LONG_PTR>(state));
    return TRUE;
}

INT_PTR onDialogCommand(HWND dialog, MQMainView& controller, WPARAM wParam) {
    // What the user types or pastes may be in another script than what was shown.
    if (HIWORD(wParam) == EN_CHANGE && isCardPane(LOWORD(wParam))) {
        fitPaneFont(GetDlgItem(dialog, LOWORD(wParam)));
    }
    Win32Dialog port(dialog);
    switch (dispatchDialogCommand(theTrainer().typedAnswers, controller, port, wParam)) {
        case CommandOutcome::Handled:
            return TRUE;
        case CommandOutcome::HelpContents:
            return WinHelpW(dialog, helpFile, HELP_FINDER, 0);
        case CommandOutcome::Dropped:
        case CommandOutcome::NotHandled:
            break;
    }
    return FALSE;
}

// Never opens a deck while a sender waits or the handler of another message runs:
// the deck is only given, and the dialog opens it once its message comes round.
void openGivenDeck(HWND dialog, MQMainView& controller) {
    KillTimer(dialog, openDeckTimer);
    Win32Dialog port(dialog);
    if (controller.openGivenDeck(port)) SetTimer(dialog, openDeckTimer, openDeckRetryMs, nullptr);
}

// Anyone can send WM_COPYDATA: only a whole, terminated path under our tag is taken.
INT_PTR takeHandedDeck(HWND dialog, LPARAM lParam) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const bool sized = data && data->dwData == deckPathTag && data->lpData &&
                       data->cbData >= 2 * sizeof(char16_t) &&
                       data->cbData <= longestPathUnits * sizeof(char16_t) &&
                       data->cbData % sizeof(char16_t) == 0;
    std::u16string path;
    if (sized) {
        path.resize(data->cbData / sizeof(char16_t));
        std::memcpy(&path[0], data->lpData, data->cbData);
    }
    const bool whole = sized && path.find(u'\0') == path.size() - 1;
    if (whole) {
        path.pop_back();
        handDeckToDialog(dialog, utf16ToUtf8(path));
    }
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, whole ? TRUE : FALSE);
    return TRUE;
}

// Of several files dropped, the first.
void takeDroppedDeck(HWND dialog, HDROP drop) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::u16string name(length + 1, u'\0');
    name.resize(DragQueryFileW(drop, 0, wide(name), length + 1));
    DragFinish(drop);
    if (!name.empty()) handDeckToDialog(dialog, utf16ToUtf8(name));
}

std::string workingFolder() {
    std::u16string folder(GetCurrentDirectoryW(0, nullptr), u'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), wide(folder)));
    return utf16ToUtf8(folder);
}

bool handDeckToRunning(HWND dialog, const std::string& path) {
    std::u16string units = utf8ToUtf16(path);
    COPYDATASTRUCT data{};
    data.dwData = deckPathTag;
    data.cbData = static_cast<DWORD>((units.size() + 1) * sizeof(char16_t));
    data.lpData = wide(units);
    DWORD_PTR taken = FALSE;
    return SendMessageTimeoutW(dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, handOverTimeoutMs, &taken) != 0 &&
           taken == TRUE;
}

}  // namespace

std::optional<std::string> deckOnCommandLine(const wchar_t* arguments) {
    std::optional<std::string> deck = deckArgument(arguments ? utf8FromWide(arguments) : "");
    // Made absolute here: a running program given it has a working folder of its own.
    if (deck) deck = absolutePath(*deck, workingFolder());
    return deck;
}

void handDeckToDialog(HWND dialog, std::string path) {
    MQMainView* controller = controllerOf(dialog);
    if (!controller) return;
    controller->giveDeck(std::move(path));
    PostMessageW(dialog, openDeckMessage, 0, 0);
}

bool bringRunningInstanceToFront(const std::optional<std::string>& deck) {
    HWND running = FindWindowW(mainClassName, mainWindowName);
    if (!running) return false;
    // The hidden main window is never shown, so raising it shows nothing: its
    // dialog is what the user came back for.
    HWND dialog = FindWindowW(dialogClassName, nullptr);
    if (!dialog) {
        SetForegroundWindow(running);
        return true;
    }
    if (IsIconic(dialog)) ShowWindow(dialog, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(dialog));
    if (deck && !handDeckToRunning(dialog, *deck)) {
        Win32MessageBoxes boxes;
        boxes.show(noWindow, "The running Mnemoquill did not take the card file\n" + *deck,
                   "Sorry.", MB_OK | MB_ICONERROR);
    }
    return true;
}

int registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = mainClassName;
    SetLastError(0);
    if (RegisterClassW(&windowClass)) return 1;
    Win32MessageBoxes boxes;
    showError(boxes, "reg", static_cast<std::int32_t>(GetLastError()));
    return 0;
}

HWND createMainWindow(HINSTANCE instance) {
    registerMainWindowClass(instance);
    MQMainView& controller = theController();
    return CreateWindowExW(0, mainClassName, mainWindowName, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, &controller);
}

void MainDialog::registerDialogClass(HINSTANCE instance) {
    instance_ = instance;
    WNDCLASSW dialogClass{};
    GetClassInfoW(nullptr, WC_DIALOG, &dialogClass);
    dialogClass.cbWndExtra = DLGWINDOWEXTRA;
    dialogClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(ids::appIcon));
    dialogClass.lpszClassName = dialogClassName;
    if (!RegisterClassW(&dialogClass)) {
        MessageBoxW(nullptr, L"I didn't expect this error, sorry.\nMaybe you're trying it again.",
                    L"I'm trrible sorry!", MB_OK);
    }
}

HWND MainDialog::createMainDialog(MQMainView& controller) {
    dialog_ = CreateDialogParamW(instance_, MAKEINTRESOURCEW(ids::mainDialog), nullptr, dialogProc,
                                 reinterpret_cast<LPARAM>(&controller));
    return dialog_;
}

HWND dialogOf(HWND mainWindow) {
    const MainWindowRecord* record = recordOf(mainWindow);
    return record ? record->dialog : nullptr;
}

bool isKeyForPane(HWND dialog, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != 'Z' || GetKeyState(VK_CONTROL) >= 0) {
        return false;
    }
    MQMainView* controller = controllerOf(dialog);
    Win32Dialog port(dialog);
    return controller && controlTakesUndo(theTrainer().typedAnswers, *controller, port);
}

UINT queryMenuStateMessage() {
    static const UINT message = RegisterWindowMessageW(L"Mnemoquill.QueryMenuState");
    return message;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindowRecord* record = recordOf(window);
    switch (message) {
        case WM_CREATE:
            onMainWindowCreate(window, lParam);
            break;
        case WM_CLOSE:
            if (record && record->controller) {
                Win32Dialog dialog(record->dialog);
                // Not destroyed either: the deck whose save failed is still here.
                if (!record->controller->onClose(dialog)) return 0;
            }
            PostQuitMessage(0);
            break;
        case WM_DESTROY:
            if (record) DestroyWindow(record->dialog);
            PostQuitMessage(0);
            break;
        case WM_QUIT:
            break;
        default:
            if (record && record->dialog) SendMessageW(record->dialog, message, wParam, lParam);
            break;
    }
    const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY && record) {
        // The window's last message: its record goes with it.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        std::unique_ptr<MainWindowRecord> owned(record);
    }
    return result;
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    MQMainView* controller = controllerOf(dialog);
    if (message == queryMenuStateMessage()) return answerMenuStateQuery(dialog, wParam, lParam);
    switch (message) {
        case WM_CREATE:
        case WM_ICONERASEBKGND:
            return TRUE;
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
            for (const int pane : {ids::questionPane, ids::answerPane}) {
                fitPaneFont(GetDlgItem(dialog, pane));
            }
            Win32Dialog port(dialog);
            reinterpret_cast<MQMainView*>(lParam)->onInitDialog(port);
            attachAnswerEntry(dialog, ids::answerEnteredCommand);
            theTrainer().typedAnswers.start(port);
            DragAcceptFiles(dialog, TRUE);
            SetTimer(dialog, dayTimer, dayTimerMs, nullptr);
            SetTimer(dialog, recoveryTimer, recoveryTimerMs, nullptr);
            // Before the card file given on the command line, whose message comes later.
            PostMessageW(dialog, offerRecoveryMessage, 0, 0);
            return TRUE;
        }
        case WM_CLOSE:
            if (controller) {
                Win32Dialog port(dialog);
                if (!controller->onClose(port)) return TRUE;
            }
            EndDialog(dialog, 0);
            PostQuitMessage(0);
            return TRUE;
        case WM_HELP:
            return WinHelpW(dialog, helpFile, HELP_CONTEXTPOPUP,
                            static_cast<ULONG_PTR>(reinterpret_cast<HELPINFO*>(lParam)->iCtrlId));
        case WM_COMMAND:
            return controller ? onDialogCommand(dialog, *controller, wParam) : FALSE;
        case WM_DRAWITEM:
            return drawResultLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_COPYDATA:
            return takeHandedDeck(dialog, lParam);
        case WM_DROPFILES:
            takeDroppedDeck(dialog, reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case openDeckMessage:
            if (controller) openGivenDeck(dialog, *controller);
            return TRUE;
        case offerRecoveryMessage:
            if (controller) {
                Win32Dialog port(dialog);
                controller->offerRecovery(port);
            }
            return TRUE;
        case WM_ACTIVATEAPP:
            if (controller && wParam) {
                Win32Dialog port(dialog);
                controller->onActivated(port);
            }
            return FALSE;
        case WM_TIMER:
            if (!controller) return FALSE;
            if (wParam == dayTimer) {
                Win32Dialog port(dialog);
                controller->onDayTick(port);
                return TRUE;
            }
            if (wParam == recoveryTimer) {
                controller->onRecoveryTick();
                return TRUE;
            }
            if (wParam != openDeckTimer) return FALSE;
            openGivenDeck(dialog, *controller);
            return TRUE;
        default:
            return FALSE;
    }
}
