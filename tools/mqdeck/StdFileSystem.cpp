#include "tools/mqdeck/StdFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "platform/WideText.h"
#include "platform/WinConstants.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::FILE* openFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    const std::string_view narrow(mode);  // ASCII, so widened byte by byte
    return _wfopen(nativePath(path).c_str(), std::wstring(narrow.begin(), narrow.end()).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

ErrorCode lastErrno() { return windowsErrorCode(std::error_code(errno, std::generic_category())); }

class StdInputFile : public InputFile {
public:
    explicit StdInputFile(FilePtr file) : file_(std::move(file)) {}

    // Asking the size leaves the reading where it was.
    std::uint32_t size() override {
        const long here = std::ftell(file_.get());
        if (here < 0 || std::fseek(file_.get(), 0, SEEK_END) != 0) {
            return 0;
        }
        const long end = std::ftell(file_.get());
        std::fseek(file_.get(), here, SEEK_SET);
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
    // `cutAtEnd`: the file was opened over older, possibly longer content.
    StdOutputFile(FilePtr file, std::string path = {}, bool cutAtEnd = false)
        : file_(std::move(file)), path_(std::move(path)), cutAtEnd_(cutAtEnd) {}

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
        const long end = std::ftell(file_.get());
        errno = 0;
        const bool closed = std::fclose(file_.release()) == 0;
        if (!flushed || !closed) {
            error = !flushed ? flushError : lastErrno();
            return false;
        }
        std::error_code failure;
        if (cutAtEnd_ && end >= 0) {
            std::filesystem::resize_file(nativePath(path_), static_cast<std::uintmax_t>(end),
                                         failure);
        }
        if (failure) {
            error = windowsErrorCode(failure);
            return false;
        }
        return true;
    }

    bool flush(ErrorCode& error) override {
        errno = 0;
        if (file_ && std::fflush(file_.get()) == 0) return true;
        error = file_ ? lastErrno() : static_cast<ErrorCode>(ERROR_INVALID_HANDLE);
        return false;
    }

private:
    FilePtr file_;
    std::string path_;
    bool cutAtEnd_;
};

}  // namespace

std::filesystem::path nativePath(const std::string& utf8) {
#ifdef _WIN32
    // Not u8path: it throws on bytes that are no UTF-8, where this conversion
    // marks them with U+FFFD like every other of the program.
    return std::filesystem::path(wide(utf8ToUtf16(utf8)));
#else
    return std::filesystem::u8path(utf8);
#endif
}

std::string utf8Path(const std::filesystem::path& path) {
#ifdef _WIN32
    // Not u8string: it throws on an unpaired surrogate, which NTFS names may hold.
    return utf8FromWide(path.c_str());
#else
    return path.u8string();
#endif
}

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
    FilePtr file(openFile(path, "rb"));
    if (!file) {
        error = errno == ENOENT ? static_cast<ErrorCode>(ERROR_FILE_NOT_FOUND) : lastErrno();
        return nullptr;
    }
    return std::make_unique<StdInputFile>(std::move(file));
}

std::unique_ptr<OutputFile> StdFileSystem::createForWriting(const std::string& path,
                                                            ErrorCode& error) {
    errno = 0;
    FilePtr file(openFile(path, "wb"));
    if (!file) {
        error = lastErrno();
        return nullptr;
    }
    return std::make_unique<StdOutputFile>(std::move(file));
}

bool StdFileSystem::replace(const std::string& source, const std::string& target,
                            ErrorCode& error) {
    std::error_code failure;
    std::filesystem::rename(nativePath(source), nativePath(target), failure);
    if (failure) {
        error = windowsErrorCode(failure);
        return false;
    }
    return true;
}

void StdFileSystem::remove(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(nativePath(path), ignored);
}

std::unique_ptr<OutputFile> StdFileSystem::createNew(const std::string& path, ErrorCode& error) {
    // The standard library has no exclusive creation everywhere; the tool is the
    // only writer of its own temporary names, so asking first is enough.
    std::error_code failure;
    if (std::filesystem::exists(nativePath(path), failure)) {
        error = static_cast<ErrorCode>(ERROR_FILE_EXISTS);
        return nullptr;
    }
    return createForWriting(path, error);
}

std::unique_ptr<OutputFile> StdFileSystem::openForOverwriting(const std::string& path,
                                                              ErrorCode& error) {
    errno = 0;
    FilePtr file(openFile(path, "r+b"));
    if (!file) {
        error = errno == ENOENT ? static_cast<ErrorCode>(ERROR_FILE_NOT_FOUND) : lastErrno();
        return nullptr;
    }
    return std::make_unique<StdOutputFile>(std::move(file), path, true);
}

std::optional<std::uint32_t> StdFileSystem::attributes(const std::string& path) {
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(nativePath(path), failure);
    if (failure || !std::filesystem::exists(status)) {
        return std::nullopt;
    }
    const bool writable = (status.permissions() & std::filesystem::perms::owner_write) !=
                          std::filesystem::perms::none;
    return static_cast<std::uint32_t>(FILE_ATTRIBUTE_ARCHIVE) |
           (writable ? 0u : static_cast<std::uint32_t>(FILE_ATTRIBUTE_READONLY));
}

bool StdFileSystem::setAttributes(const std::string& path, std::uint32_t attributes,
                                  ErrorCode& error) {
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    std::error_code failure;
    std::filesystem::permissions(
        nativePath(path), std::filesystem::perms::owner_write,
        readOnly ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add,
        failure);
    if (failure) {
        error = windowsErrorCode(failure);
        return false;
    }
    return true;
}

std::string StdFileSystem::finalPath(const std::string& path) {
    std::error_code failure;
    if (!std::filesystem::is_symlink(nativePath(path), failure)) {
        return path;
    }
    const std::filesystem::path final = std::filesystem::canonical(nativePath(path), failure);
    return failure ? path : utf8Path(final);
}

std::string StdFileSystem::temporaryFolder() {
    std::error_code failure;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(failure);
    if (failure) {
        return std::string();
    }
    return utf8Path(folder / "");
}
