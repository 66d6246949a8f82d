#include "tools/mqdeck/StdFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/WinConstants.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

ErrorCode lastErrno() { return windowsErrorCode(std::error_code(errno, std::generic_category())); }

class StdInputFile : public InputFile {
public:
    explicit StdInputFile(FilePtr file) : file_(std::move(file)) {}

    std::uint32_t size() override {
        if (std::fseek(file_.get(), 0, SEEK_END) != 0) {
            return 0;
        }
        const long end = std::ftell(file_.get());
        std::rewind(file_.get());
        return end < 0 ? 0 : static_cast<std::uint32_t>(end);
    }

    bool read(std::string& out, std::uint32_t count, ErrorCode& error) override {
        constexpr std::size_t chunk = std::size_t{1} << 20;
        std::size_t left = count;
        while (left > 0) {
            // Grown as the bytes arrive, so a size that was wrong costs nothing.
            const std::size_t wanted = left < chunk ? left : chunk;
            const std::size_t start = out.size();
            out.resize(start + wanted);
            errno = 0;
            const std::size_t got = std::fread(&out[start], 1, wanted, file_.get());
            out.resize(start + got);
            left -= got;
            if (got < wanted) {
                if (std::ferror(file_.get()) != 0) {
                    error = lastErrno();
                    return false;
                }
                break;  // end of file
            }
        }
        return true;
    }

private:
    FilePtr file_;
};

class StdOutputFile : public OutputFile {
public:
    explicit StdOutputFile(FilePtr file) : file_(std::move(file)) {}

    bool write(const std::string& bytes, std::size_t& written, ErrorCode& error) override {
        written = 0;
        if (!file_) {
            error = static_cast<ErrorCode>(ERROR_INVALID_HANDLE);
            return false;
        }
        errno = 0;
        written = std::fwrite(bytes.data(), 1, bytes.size(), file_.get());
        if (written != bytes.size() && errno != 0) {
            error = lastErrno();
            return false;
        }
        return true;
    }

    bool commit(ErrorCode& error) override {
        if (!file_) {
            error = static_cast<ErrorCode>(ERROR_INVALID_HANDLE);
            return false;
        }
        // A buffered write that fails only shows up in the flush or the close.
        errno = 0;
        const bool flushed = std::fflush(file_.get()) == 0;
        ErrorCode flushError = flushed ? 0 : lastErrno();
        errno = 0;
        const bool closed = std::fclose(file_.release()) == 0;
        if (!flushed || !closed) {
            error = !flushed ? flushError : lastErrno();
            return false;
        }
        return true;
    }

private:
    FilePtr file_;
};

}  // namespace

ErrorCode windowsErrorCode(std::error_code error) {
    const std::error_condition condition = error.default_error_condition();
    if (condition == std::errc::no_such_file_or_directory) {
        return static_cast<ErrorCode>(ERROR_PATH_NOT_FOUND);
    }
    if (condition == std::errc::permission_denied ||
        condition == std::errc::operation_not_permitted ||
        condition == std::errc::read_only_file_system || condition == std::errc::is_a_directory ||
        condition == std::errc::text_file_busy || condition == std::errc::device_or_resource_busy) {
        return static_cast<ErrorCode>(ERROR_ACCESS_DENIED);
    }
    if (condition == std::errc::no_space_on_device || condition == std::errc::file_too_large) {
        return static_cast<ErrorCode>(ERROR_DISK_FULL);
    }
    if (condition == std::errc::invalid_argument || condition == std::errc::filename_too_long ||
        condition == std::errc::illegal_byte_sequence) {
        return static_cast<ErrorCode>(ERROR_INVALID_NAME);
    }
    // Anything else keeps its own number, moved out of the range of the codes
    // the core tells apart (and never 0, which would mean success).
    return 0x20000000u | static_cast<ErrorCode>(error.value() & 0xFFFF);
}

std::unique_ptr<InputFile> StdFileSystem::openForReading(const std::string& path,
                                                         ErrorCode& error) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = errno == ENOENT ? static_cast<ErrorCode>(ERROR_FILE_NOT_FOUND) : lastErrno();
        return nullptr;
    }
    return std::make_unique<StdInputFile>(std::move(file));
}

std::unique_ptr<OutputFile> StdFileSystem::createForWriting(const std::string& path,
                                                            ErrorCode& error) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = lastErrno();
        return nullptr;
    }
    return std::make_unique<StdOutputFile>(std::move(file));
}

bool StdFileSystem::replace(const std::string& source, const std::string& target,
                            ErrorCode& error) {
    std::error_code failure;
    std::filesystem::rename(source, target, failure);
    if (failure) {
        error = windowsErrorCode(failure);
        return false;
    }
    return true;
}

void StdFileSystem::remove(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}
