#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/CardEncoding.h"

// The text of a card file as the deck keeps it. Cards read from it refer to their
// texts here instead of copying them, and share it, so it lives exactly as long
// as the last such card: also after its deck is gone, for a card that the
// controller still holds.
//
// The file's bytes stay as they were read. In a UTF-8 file they are the texts; in
// a code page 1252 file, so is every text of ASCII alone, and only the others are
// decoded, once, beside the bytes. A card nobody changed is then written back from
// the file's own bytes without converting a character, and a Western deck costs
// no more to save than to copy.
class CardSourceText {
public:
    CardSourceText(std::string fileBytes, CardEncoding encoding);
    CardSourceText(const CardSourceText&) = delete;
    CardSourceText& operator=(const CardSourceText&) = delete;

    std::string_view fileBytes() const { return bytes_; }
    CardEncoding encoding() const { return encoding_; }

    // Keeps the decoded text of `original`, which lies in the file's bytes: `decode`
    // writes it at the pointer it is given, in `most` bytes at most, and gives its
    // end. Gives where the text is kept.
    template <typename Decode>
    std::string_view keepDecoded(std::string_view original, std::size_t most, Decode decode) {
        char* const text = roomBeside(original, most);
        const char* const end = decode(text);
        const auto size = static_cast<std::size_t>(end - text);
        decoded_.back().used += size;
        return {text, size};
    }

    // The bytes the file holds `text` in, for a text that was read from here (the
    // text itself, or the one it was decoded from); nothing for any other.
    // Inline: saving asks it for every text of the deck.
    std::optional<std::string_view> fileBytesOf(std::string_view text) const {
        if (lies(text, bytes_.data(), bytes_.size())) {
            return text;
        }
        for (const Block& block : decoded_) {
            if (!text.empty() && lies(text, block.bytes.get(), block.used)) {
                Origin origin{};
                std::memcpy(&origin, text.data() - sizeof origin, sizeof origin);
                return std::string_view(bytes_).substr(origin.at, origin.size);
            }
        }
        return std::nullopt;
    }

private:
    // Where the original of a decoded text lies: just before the text.
    struct Origin {
        std::uint32_t at;
        std::uint32_t size;
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t used = 0;
    };

    char* roomBeside(std::string_view original, std::size_t most) {
        const std::size_t needed = sizeof(Origin) + most;
        if (decoded_.empty() || decoded_.back().size - decoded_.back().used < needed) {
            addBlock(needed);
        }
        Block& block = decoded_.back();
        const Origin origin{static_cast<std::uint32_t>(original.data() - bytes_.data()),
                            static_cast<std::uint32_t>(original.size())};
        char* const at = block.bytes.get() + block.used;
        std::memcpy(at, &origin, sizeof origin);
        block.used += sizeof origin;
        return at + sizeof origin;
    }
    void addBlock(std::size_t needed);
    // Whether `text` lies within the `size` bytes at `begin`; addresses compared
    // as numbers, which is what they are on every platform this runs on.
    static bool lies(std::string_view text, const char* begin, std::size_t size) {
        const auto offset =
            reinterpret_cast<std::uintptr_t>(text.data()) - reinterpret_cast<std::uintptr_t>(begin);
        return offset <= size && text.size() <= size - offset;
    }

    std::string bytes_;
    CardEncoding encoding_;
    // Rarely more than one: the first is sized for a Western file, and memory
    // never written costs nothing.
    std::vector<Block> decoded_;
};

using CardSource = std::shared_ptr<const CardSourceText>;
