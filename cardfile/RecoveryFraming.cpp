#include "cardfile/RecoveryFraming.h"

#include "cardfile/FileIdentity.h"

namespace {

constexpr std::size_t frameHead = 8;
// An entry longer than this is no entry but a damaged length.
constexpr std::uint32_t longestEntry = 256u * 1024 * 1024;

}  // namespace

bool ByteReader::has(std::size_t count) {
    ok_ = ok_ && bytes_.size() - at_ >= count;
    return ok_;
}

std::uint64_t ByteReader::little(std::size_t width) {
    if (!has(width)) return 0;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= std::uint64_t{static_cast<unsigned char>(bytes_[at_ + i])} << (8 * i);
    }
    at_ += width;
    return value;
}

std::string_view ByteReader::text() {
    const auto size = static_cast<std::size_t>(little(4));
    if (!has(size)) return {};
    const std::string_view value = bytes_.substr(at_, size);
    at_ += size;
    return value;
}

std::string frame(std::string_view payload) {
    std::string framed;
    ByteWriter out(framed);
    out.little(payload.size(), 4);
    out.little(crc32(payload), 4);
    framed.append(payload.data(), payload.size());
    return framed;
}

std::optional<std::string_view> nextFrame(std::string_view& bytes) {
    ByteReader in(bytes);
    const std::uint64_t size = in.little(4);
    const std::uint64_t checksum = in.little(4);
    if (!in.ok() || size > longestEntry || bytes.size() - frameHead < size) {
        return std::nullopt;
    }
    const std::string_view payload = bytes.substr(frameHead, size);
    if (crc32(payload) != checksum) {
        return std::nullopt;
    }
    bytes.remove_prefix(frameHead + size);
    return payload;
}
