#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "cardfile/CardFormat.h"

constexpr std::size_t noTag = std::string_view::npos;

// The first place at or after `position` where `tag` lies whole within the `span`
// bytes that start there (the span is cut at the end of the text); noTag if none.
std::size_t findTag(std::string_view text, std::size_t position, std::string_view tag,
                    std::size_t span);

// Reads an integer the way atoi does (leading white space, optional sign, the
// digits up to the first other character, 0 without digits), except that a value
// beyond 32 bits saturates instead of wrapping.
std::int32_t readInteger(std::string_view value);

// One card block: from its "<C>" up to where its end tag begins.
struct CardBlock {
    std::size_t start = 0;  // the "<C>", or the scan position when there was none
    std::size_t end = 0;    // where the end tag begins; the text's size without one
    bool found = false;     // both a "<C>" and an end were found
};

// The text of one card file while it is read. Blocks may overlap, and a block
// without an end runs to the end of the text, so searching afresh for every block
// and field could rescan the same bytes once per block. Instead every tag keeps a
// cursor at its next occurrence: blocks are visited with growing starts, so each
// cursor only moves forward and the whole read stays linear in the text size.
// Searches that do go backwards are still answered correctly, just not cheaply.
class CardText {
public:
    // The text ends at its first NUL byte.
    explicit CardText(std::string_view text);

    std::string_view text() const { return text_; }

    // Finds the block at or after `scan` and moves `scan` to the "<C>" of the
    // block after it. Gives true when another block follows.
    bool nextCardBlock(std::size_t& scan, CardBlock& block);

    // The text between the first opening tag in the block and the first closing
    // tag after it within the block; nothing when either is missing.
    std::optional<std::string_view> fieldValue(const CardBlock& block, const FieldTags& field);

    // The first occurrence of `tag` at or after `from` that lies whole before `end`.
    std::size_t find(std::string_view tag, std::size_t from, std::size_t end);

private:
    struct TagCursor {
        std::string_view tag;
        std::size_t from = 0;  // where the last search started
        std::size_t hit = 0;   // first occurrence at or after `from`, or noTag
        bool valid = false;
    };

    TagCursor& cursorFor(std::string_view tag);

    std::string_view text_;
    std::vector<TagCursor> cursors_;
};
