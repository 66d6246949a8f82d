#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The bytes of a recovery record: numbers little-endian in the width given, texts
// after their length, and each entry framed by its length and CRC-32.

class ByteWriter {
public:
    explicit ByteWriter(std::string& bytes) : bytes_(bytes) {}
    void little(std::uint64_t value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    }
    void text(std::string_view value) {
        little(value.size(), 4);
        bytes_.append(value.data(), value.size());
    }

private:
    std::string& bytes_;
};

// Reads what ByteWriter wrote; once a read runs past the end, or a check fails,
// every read fails.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ >= bytes_.size(); }
    void fail() { ok_ = false; }
    std::uint64_t little(std::size_t width);
    std::string_view text();

private:
    bool has(std::size_t count);

    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// Length, checksum and payload, ready to append.
std::string frame(std::string_view payload);
// The next complete frame's payload, taken off `bytes`; nothing at the end or at a
// torn or damaged one.
std::optional<std::string_view> nextFrame(std::string_view& bytes);
