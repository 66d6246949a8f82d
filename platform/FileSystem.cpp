#include "platform/FileSystem.h"

#include "platform/WinConstants.h"

bool writeWhole(OutputFile& file, const std::string& bytes, ErrorCode& error) {
    std::size_t written = 0;
    if (!file.write(bytes, written, error)) {
        return false;
    }
    if (written != bytes.size()) {
        error = static_cast<ErrorCode>(ERROR_DISK_FULL);
        return false;
    }
    return true;
}
