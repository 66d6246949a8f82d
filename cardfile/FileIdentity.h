#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

// A hash of a file's bytes, taken as they pass in pieces of any size: cheap enough
// to take on every read and save of a whole card file. Not for secrets.
class ContentHash {
public:
    void add(std::string_view bytes);
    std::uint64_t value() const;

private:
    void mix(std::uint64_t word);

    std::uint64_t state_ = 0x243F6A8885A308D3ull;
    std::uint64_t length_ = 0;
    std::uint64_t pending_ = 0;  // the bytes of a word not yet complete
};

std::uint64_t contentHash(std::string_view bytes);

// CRC-32 (IEEE), for the recovery record's entries.
std::uint32_t crc32(std::string_view bytes);

// What the program knows of the version of a file on disk: the stamp it took when
// it read or wrote the file, and the hash of the bytes it read or wrote.
struct FileIdentity {
    bool exists = false;
    FileStamp stamp;
    std::optional<std::uint64_t> hash;
};

// A write time at least this far (2 s, FAT's resolution) before the stamp was
// taken is trusted: any later write gets a later time. A newer one may share its
// time with the next write, so the content must tell.
constexpr std::uint64_t writeTimeGranularity = 2 * 10000000ull;
bool writeTimeTrusted(const FileStamp& stamp);

// The file as it is now: nothing when it is missing.
std::optional<FileIdentity> identityOnDisk(FileSystem& files, const std::string& path);

enum class DiskState { same, changed, removed };

// Whether `path` still holds the version `known` describes: size and time decide,
// the content where they agree but the time cannot be trusted. A file that cannot be
// looked at counts as the same (a save then reports what is wrong with it). Once
// the content has shown it the same, `known` takes the new stamp, which may be
// trusted by then.
DiskState compareWithDisk(FileSystem& files, const std::string& path, FileIdentity& known);
