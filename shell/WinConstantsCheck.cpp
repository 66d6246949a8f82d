// The core keeps its own copies of the Windows numbers it speaks in (it never
// includes <windows.h>). Here each is taken before <windows.h> defines it anew,
// and the build stops where the two differ.
#include <type_traits>

#include "platform/Clock.h"
#include "platform/WinConstants.h"

#define MQ_CORE_WIN_CONSTANTS(X)  \
    X(MB_OK)                      \
    X(MB_OKCANCEL)                \
    X(MB_YESNO)                   \
    X(MB_ICONERROR)               \
    X(MB_ICONQUESTION)            \
    X(MB_ICONWARNING)             \
    X(MB_ICONINFORMATION)         \
    X(MB_DEFBUTTON2)              \
    X(IDOK)                       \
    X(IDCANCEL)                   \
    X(IDYES)                      \
    X(IDNO)                       \
    X(WM_KEYDOWN)                 \
    X(WM_KEYUP)                   \
    X(WM_CHAR)                    \
    X(WM_SYSKEYDOWN)              \
    X(WM_SYSKEYUP)                \
    X(WM_COMMAND)                 \
    X(VK_SHIFT)                   \
    X(VK_CONTROL)                 \
    X(VK_MENU)                    \
    X(FVIRTKEY)                   \
    X(FNOINVERT)                  \
    X(FSHIFT)                     \
    X(FCONTROL)                   \
    X(FALT)                       \
    X(ERROR_SUCCESS)              \
    X(ERROR_FILE_NOT_FOUND)       \
    X(ERROR_PATH_NOT_FOUND)       \
    X(ERROR_ACCESS_DENIED)        \
    X(ERROR_INVALID_HANDLE)       \
    X(ERROR_WRITE_FAULT)          \
    X(ERROR_SHARING_VIOLATION)    \
    X(ERROR_HANDLE_DISK_FULL)     \
    X(ERROR_FILE_EXISTS)          \
    X(ERROR_DISK_FULL)            \
    X(ERROR_INVALID_NAME)         \
    X(ERROR_ALREADY_EXISTS)       \
    X(ERROR_FILENAME_EXCED_RANGE) \
    X(FILE_ATTRIBUTE_READONLY)    \
    X(FILE_ATTRIBUTE_HIDDEN)      \
    X(FILE_ATTRIBUTE_ARCHIVE)

#define MQ_KEEP(name) constexpr long long core_##name = name;
MQ_CORE_WIN_CONSTANTS(MQ_KEEP)

#undef MB_OK
#undef MB_OKCANCEL
#undef MB_YESNO
#undef MB_ICONERROR
#undef MB_ICONQUESTION
#undef MB_ICONWARNING
#undef MB_ICONINFORMATION
#undef MB_DEFBUTTON2
#undef IDOK
#undef IDCANCEL
#undef IDYES
#undef IDNO
#undef WM_KEYDOWN
#undef WM_KEYUP
#undef WM_CHAR
#undef WM_SYSKEYDOWN
#undef WM_SYSKEYUP
#undef WM_COMMAND
#undef VK_SHIFT
#undef VK_CONTROL
#undef VK_MENU
#undef FVIRTKEY
#undef FNOINVERT
#undef FSHIFT
#undef FCONTROL
#undef FALT
#undef ERROR_SUCCESS
#undef ERROR_FILE_NOT_FOUND
#undef ERROR_PATH_NOT_FOUND
#undef ERROR_ACCESS_DENIED
#undef ERROR_INVALID_HANDLE
#undef ERROR_WRITE_FAULT
#undef ERROR_SHARING_VIOLATION
#undef ERROR_HANDLE_DISK_FULL
#undef ERROR_FILE_EXISTS
#undef ERROR_DISK_FULL
#undef ERROR_INVALID_NAME
#undef ERROR_ALREADY_EXISTS
#undef ERROR_FILENAME_EXCED_RANGE
#undef FILE_ATTRIBUTE_READONLY
#undef FILE_ATTRIBUTE_HIDDEN
#undef FILE_ATTRIBUTE_ARCHIVE

#include <windows.h>

#include "model/CalendarDay.h"

#define MQ_CHECK(name) static_assert(core_##name == name, #name " differs from Windows");
MQ_CORE_WIN_CONSTANTS(MQ_CHECK)

// The clock's day is the model's, without the port knowing the model.
static_assert(std::is_same_v<ClockDay, CalendarDay> && noClockDay == noDay);
