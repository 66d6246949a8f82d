#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "platform/FileSystem.h"

// The card files through the C++ standard library, for the command-line tools.
// Error codes are translated to the Windows codes the core decides on, so that
// the writer's boxes read the same as in the program.
class StdFileSystem : public FileSystem {
public:
    std::unique_ptr<InputFile> openForReading(const std::string& path, ErrorCode& error) override;
    std::unique_ptr<OutputFile> createForWriting(const std::string& path,
                                                 ErrorCode& error) override;
    std::unique_ptr<OutputFile> createNew(const std::string& path, ErrorCode& error) override;
    std::unique_ptr<OutputFile> openForOverwriting(const std::string& path,
                                                   ErrorCode& error) override;
    // A rename, which replaces an existing target on POSIX and on Windows alike.
    // The standard library offers no way to flush the folder, so durability is
    // what the file system gives after the flushed and closed source file.
    bool replace(const std::string& source, const std::string& target, ErrorCode& error) override;
    void remove(const std::string& path) override;
    // Read-only stands for a file its owner cannot write; everything else is archive.
    std::optional<std::uint32_t> attributes(const std::string& path) override;
    bool setAttributes(const std::string& path, std::uint32_t attributes,
                       ErrorCode& error) override;
    std::string finalPath(const std::string& path) override;
    std::string temporaryFolder() override;
};

// Every path the tools hold is UTF-8; the standard library's narrow paths on
// Windows are in the ANSI code page instead, which cannot name most scripts.
std::filesystem::path nativePath(const std::string& utf8);
std::string utf8Path(const std::filesystem::path& path);

// The Windows error code closest to a standard library error; never 0 for an error.
ErrorCode windowsErrorCode(std::error_code error);
