#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/CardEncoding.h"

// The text of a card file as the deck keeps it: the file's own bytes. Cards read
// from it refer to their texts here instead of copying them, and share it, so it
// lives exactly as long as the last such card: also after its deck is gone, for a
// card that the controller still holds.
//
// In a code page 1252 file a text outside ASCII is decoded when a card is first
// asked for it, into memory kept here beside the bytes, once. A card nobody
// changed is then written back from the file's bytes without converting it.
class CardSourceText {
public:
    CardSourceText(std::string fileBytes, CardEncoding encoding);
    CardSourceText(const CardSourceText&) = delete;
    CardSourceText& operator=(const CardSourceText&) = delete;
    ~CardSourceText();

    std::string_view fileBytes() const { return bytes_; }
    CardEncoding encoding() const { return encoding_; }

    // The UTF-8 of `original`, a text of these code page 1252 bytes. Decoding adds
    // to what is kept and moves nothing kept before, so the source stays const to
    // the cards that share it.
    std::string_view decode(std::string_view original) const;
    // The bytes that `decoded`, a text given by decode, was decoded from.
    std::string_view originOf(std::string_view decoded) const {
        Origin origin{};
        std::memcpy(&origin, decoded.data() - sizeof origin, sizeof origin);
        return std::string_view(bytes_).substr(origin.at, origin.size);
    }

private:
    // Where the original of a decoded text lies: kept just before the text.
    struct Origin {
        std::uint32_t at;
        std::uint32_t size;
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t used = 0;
    };

    std::string bytes_;
    CardEncoding encoding_;
    mutable std::vector<Block> decoded_;
};

using CardSource = std::shared_ptr<const CardSourceText>;
