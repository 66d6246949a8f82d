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

bool readToEnd(InputFile& file, std::string& bytes, ErrorCode& error) {
    // Asked of a file whose size is unknown, and after the size was read, in case
    // the file grew meanwhile: a read that brings nothing new is the end.
    constexpr std::uint32_t readChunk = 64 * 1024;
    std::uint32_t wanted = file.size();
    for (;;) {
        const std::size_t before = bytes.size();
        if (!file.read(bytes, wanted > 0 ? wanted : readChunk, error)) {
            return false;
        }
        if (bytes.size() == before) {
            return true;
        }
        wanted = readChunk;
    }
}
