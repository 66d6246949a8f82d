#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The card files as the core reaches them. Every failing call hands back the
// platform's error code (what GetLastError gave) through its error argument.
using ErrorCode = std::uint32_t;

class InputFile {
public:
    virtual ~InputFile() = default;
    // Size in bytes (low 32 bits); 0 when the size cannot be had.
    virtual std::uint32_t size() = 0;
    // Reads up to `count` bytes, appending them to `out`. False on a failed read;
    // `out` then holds whatever arrived before the failure.
    virtual bool read(std::string& out, std::uint32_t count, ErrorCode& error) = 0;
};

class OutputFile {
public:
    virtual ~OutputFile() = default;
    // Hands the bytes to the system; `written` is how many it took. False when the
    // system reported a failure. A success that took fewer bytes is left to
    // writeWhole() to judge.
    virtual bool write(const std::string& bytes, std::size_t& written, ErrorCode& error) = 0;
    // Ends the file after the last byte written (a file opened for overwriting
    // may have been longer), pushes the bytes to the disk and closes the file.
    virtual bool commit(ErrorCode& error) = 0;
    // The same for a file nothing depends on: need not wait for the disk.
    virtual bool close(ErrorCode& error) { return commit(error); }
    // Pushes the bytes written so far to the disk and keeps the file open.
    virtual bool flush(ErrorCode& error) = 0;
};

// What tells a version of a file from another cheaply: its size and last write
// time, and when they were taken (both in the system's file time, 100 ns units).
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    std::uint64_t takenAt = 0;
};

// Writes all of `bytes`, or fails: a write the system called a success but that
// took fewer bytes means the disk had no room, and counts as a failed write.
bool writeWhole(OutputFile& file, const std::string& bytes, ErrorCode& error);

// How much to read at a time of a file of `size` bytes read in pieces: small enough
// to stay in the cache, large enough to cost few calls, and no larger than the
// file, since a read is handed fresh memory of the size asked for.
std::uint32_t pieceBytesFor(std::uint32_t size);

// Appends to `bytes` until it holds `count` bytes or the file ends.
bool readUpTo(InputFile& file, std::string& bytes, std::size_t count, ErrorCode& error);

// Appends the rest of the file to `bytes`: the size the file gives in one read, then
// (in case the file grew or its size was unknown) more until a read brings nothing.
bool readToEnd(InputFile& file, std::string& bytes, ErrorCode& error);

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens an existing file for reading, shared for reading and writing.
    virtual std::unique_ptr<InputFile> openForReading(const std::string& path,
                                                      ErrorCode& error) = 0;
    // Creates the file, or empties it when it exists.
    virtual std::unique_ptr<OutputFile> createForWriting(const std::string& path,
                                                         ErrorCode& error) = 0;
    // Creates a file that does not exist yet; ERROR_FILE_EXISTS when it does.
    virtual std::unique_ptr<OutputFile> createNew(const std::string& path, ErrorCode& error) = 0;
    // Opens an existing file for writing, shared for reading and writing, without
    // emptying it: writing starts at its first byte.
    virtual std::unique_ptr<OutputFile> openForOverwriting(const std::string& path,
                                                           ErrorCode& error) = 0;
    // Puts `source` in the place of `target`, replacing it, and makes it durable.
    virtual bool replace(const std::string& source, const std::string& target,
                         ErrorCode& error) = 0;
    virtual void remove(const std::string& path) = 0;
    // The file's attributes (FILE_ATTRIBUTE_ bits); nothing when they cannot be had.
    virtual std::optional<std::uint32_t> attributes(const std::string& path) = 0;
    virtual bool setAttributes(const std::string& path, std::uint32_t attributes,
                               ErrorCode& error) = 0;
    // The path of the file itself when `path` reaches it through a link; `path`
    // when it is no link or the system cannot tell.
    virtual std::string finalPath(const std::string& path) = 0;
    // A folder in which the user can always create files, ending in a separator.
    virtual std::string temporaryFolder() = 0;
    // The file's stamp; nothing when it cannot be had (ERROR_FILE_NOT_FOUND or
    // ERROR_PATH_NOT_FOUND when there is no such file).
    // The card tool needs neither this nor openForAppending.
    virtual std::optional<FileStamp> stamp(const std::string& /*path*/, ErrorCode& error) {
        error = notSupported;
        return std::nullopt;
    }
    // Opens the file for writing at its end, creating it when missing. While it is
    // open no other program can write or remove it (ERROR_SHARING_VIOLATION), so
    // a file held this way shows that its program still runs.
    virtual std::unique_ptr<OutputFile> openForAppending(const std::string& /*path*/,
                                                         ErrorCode& error) {
        error = notSupported;
        return nullptr;
    }
    // The names of the files in `folder`, which ends in a separator; none where it
    // cannot be listed.
    virtual std::vector<std::string> fileNamesIn(const std::string& /*folder*/) { return {}; }
    // Moves `path` to the Recycle Bin, from where the user can restore it. True
    // once it has left its folder.
    virtual bool moveToRecycleBin(const std::string& /*path*/) { return false; }

private:
    static constexpr ErrorCode notSupported = 50;  // ERROR_NOT_SUPPORTED
};
