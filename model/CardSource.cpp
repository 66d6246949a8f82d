#include "model/CardSource.h"

#include <algorithm>
#include <utility>

#include "platform/TextCoding.h"

namespace {
// A card or two looked at take the first block; a whole deck decoded (a Find
// through it) takes a few of the largest.
constexpr std::size_t firstBlockBytes = 64 * 1024;
constexpr std::size_t largestBlockBytes = 4 * 1024 * 1024;
}  // namespace

CardSourceText::CardSourceText(std::string fileBytes, CardEncoding encoding)
    : bytes_(std::move(fileBytes)), encoding_(encoding) {}

CardSourceText::~CardSourceText() = default;

std::string_view CardSourceText::decode(std::string_view original) const {
    const std::size_t needed = sizeof(Origin) + 3 * original.size() + widenSlackBytes;
    if (decoded_.empty() || decoded_.back().size - decoded_.back().used < needed) {
        const std::size_t grown = decoded_.empty()
                                      ? firstBlockBytes
                                      : std::min(2 * decoded_.back().size, largestBlockBytes);
        const std::size_t size = std::max(needed, grown);
        decoded_.push_back(Block{std::unique_ptr<char[]>(new char[size]), size, 0});
    }
    Block& block = decoded_.back();
    char* const at = block.bytes.get() + block.used;
    const Origin origin{static_cast<std::uint32_t>(original.data() - bytes_.data()),
                        static_cast<std::uint32_t>(original.size())};
    std::memcpy(at, &origin, sizeof origin);
    char* const text = at + sizeof origin;
    // Reading on past the text within the file saves a short text a copy.
    char* const end = widenCp1252ToUtf8(original, text, bytes_.data() + bytes_.size());
    const auto size = static_cast<std::size_t>(end - text);
    block.used += sizeof origin + size;
    return {text, size};
}
