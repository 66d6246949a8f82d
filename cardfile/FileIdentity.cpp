#include "cardfile/FileIdentity.h"

#include <array>
#include <cstring>
#include <memory>

#include "platform/WinConstants.h"

namespace {
constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t rotate(std::uint64_t value, int by) { return (value << by) | (value >> (64 - by)); }

std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}

bool isMissing(ErrorCode error) {
    return error == static_cast<ErrorCode>(ERROR_FILE_NOT_FOUND) ||
           error == static_cast<ErrorCode>(ERROR_PATH_NOT_FOUND);
}

std::optional<std::uint64_t> hashOfFile(FileSystem& files, const std::string& path) {
    ErrorCode error = 0;
    std::unique_ptr<InputFile> file = files.openForReading(path, error);
    if (!file) {
        return std::nullopt;
    }
    ContentHash hash;
    const std::uint32_t pieceBytes = pieceBytesFor(file->size());
    std::string piece;
    do {
        piece.clear();
        if (!file->read(piece, pieceBytes, error)) {
            return std::nullopt;
        }
        hash.add(piece);
    } while (!piece.empty());
    return hash.value();
}
}  // namespace

void ContentHash::mix(std::uint64_t word) { state_ = rotate(state_ ^ word, 27) * multiplier; }

void ContentHash::add(std::string_view bytes) {
    std::size_t at = 0;
    // Words are taken where the whole stream has them, whatever the pieces.
    while (at < bytes.size() && length_ % 8 != 0) {
        pending_ |= std::uint64_t{static_cast<unsigned char>(bytes[at++])} << (8 * (length_ % 8));
        if (++length_ % 8 == 0) {
            mix(pending_);
            pending_ = 0;
        }
    }
    for (; bytes.size() - at >= 8; at += 8) {
        std::uint64_t word = 0;
        for (int i = 7; i >= 0; --i) {
            word =
                (word << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
        }
        mix(word);
        length_ += 8;
    }
    for (; at < bytes.size(); ++at) {
        pending_ |= std::uint64_t{static_cast<unsigned char>(bytes[at])} << (8 * (length_ % 8));
        ++length_;
    }
}

std::uint64_t ContentHash::value() const {
    std::uint64_t h = rotate(state_ ^ pending_, 27) * multiplier;
    h ^= length_;
    h ^= h >> 31;
    h *= multiplier;
    return h ^ (h >> 29);
}

std::uint64_t contentHash(std::string_view bytes) {
    ContentHash hash;
    hash.add(bytes);
    return hash.value();
}

std::uint32_t crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = crcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        c = table[(c ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

bool writeTimeTrusted(const FileStamp& stamp) {
    return stamp.takenAt >= stamp.writeTime &&
           stamp.takenAt - stamp.writeTime >= writeTimeGranularity;
}

std::optional<FileIdentity> identityOnDisk(FileSystem& files, const std::string& path) {
    ErrorCode error = 0;
    std::optional<FileStamp> stamp = files.stamp(path, error);
    if (!stamp) {
        return std::nullopt;
    }
    return FileIdentity{true, *stamp, std::nullopt};
}

DiskState compareWithDisk(FileSystem& files, const std::string& path, FileIdentity& known) {
    ErrorCode error = 0;
    const std::optional<FileStamp> now = files.stamp(path, error);
    if (!now) {
        return known.exists && isMissing(error) ? DiskState::removed : DiskState::same;
    }
    if (!known.exists || now->size != known.stamp.size || now->writeTime != known.stamp.writeTime) {
        return DiskState::changed;
    }
    if (writeTimeTrusted(known.stamp) || !known.hash) {
        return DiskState::same;
    }
    const std::optional<std::uint64_t> hash = hashOfFile(files, path);
    if (!hash) {
        return DiskState::same;
    }
    if (*hash != *known.hash) {
        return DiskState::changed;
    }
    known.stamp = *now;
    return DiskState::same;
}
