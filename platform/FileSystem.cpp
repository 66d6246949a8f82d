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

std::uint32_t pieceBytesFor(std::uint32_t size) {
    constexpr std::uint32_t most = 1024 * 1024;
    constexpr std::uint32_t least = 4096;  // a file that grows or tells no size
    return size < least ? least : (size > most ? most : size);
}

bool readUpTo(InputFile& file, std::string& bytes, std::size_t count, ErrorCode& error) {
    while (bytes.size() < count) {
        const std::size_t before = bytes.size();
        if (!file.read(bytes, static_cast<std::uint32_t>(count - before), error)) {
            return false;
        }
        if (bytes.size() == before) {
            break;
        }
    }
    return true;
}

bool readToEnd(InputFile& file, std::string& bytes, ErrorCode& error) {
    const std::uint32_t size = file.size();
    if (size > 0 && !file.read(bytes, size, error)) {
        return false;
    }
    // What follows arrives in a string of its own: a text read whole would otherwise
    // grow, and for a moment be held twice, only to learn that it has ended.
    constexpr std::uint32_t chunk = 64 * 1024;
    std::string more;
    do {
        more.clear();
        const bool read = file.read(more, chunk, error);
        bytes += more;
        if (!read) {
            return false;
        }
    } while (!more.empty());
    return true;
}
