#include "shell/RecycleBin.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/WideText.h"

std::vector<std::string> fileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(wide(utf8ToUtf16(folder + "*")), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(utf8FromWide(found.cFileName));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool moveToRecycleBin(const std::string& path) {
    // The shell reaches the Recycle Bin only for a full path without the \\?\ prefix,
    // and takes a list of paths that an empty one ends.
    const std::u16string given = utf8ToUtf16(path);
    std::u16string full(MAX_PATH, u'\0');
    const DWORD length =
        GetFullPathNameW(wide(given), static_cast<DWORD>(full.size()), wide(full), nullptr);
    if (length == 0 || length >= full.size()) return false;
    full.resize(length);
    full.push_back(u'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = wide(full);
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted &&
           GetFileAttributesW(wide(given)) == INVALID_FILE_ATTRIBUTES;
}
