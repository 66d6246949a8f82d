#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "cardfile/CardFormat.h"

// One card block with its fields taken, as the card text format defines them.
struct ScannedBlock {
    bool found = false;  // both a "<C>" and an end were found
    std::array<std::optional<std::string_view>, cardFieldCount> fields;

    const std::optional<std::string_view>& field(CardField which) const {
        return fields[static_cast<std::size_t>(which)];
    }
    // The field, or what a block without it reads as.
    std::string_view value(CardField which) const {
        return field(which).value_or(formatOf(which).absent);
    }
};

// Finds the card blocks of a text and their fields in one forward pass, stopping
// at each '<' only, and gives the same blocks and fields as searching each tag
// from each block's start would (see CardText).
//
// Blocks may overlap: a "<C>" before the end of the block before it starts a
// block that ends at the same place. Such blocks are held until their shared end
// is seen; each takes a field from the first opening tag after its own start, and
// all blocks waiting for a field when its tag comes take that one occurrence
// together. Every block, tag and field is thereby handled a fixed number of
// times, whatever the text, so the pass stays linear. Only blocks that no "</C>"
// follows need the end of the text before their ends are known.
class BlockScanner {
public:
    // The text ends at its first NUL byte. Views handed out lie within it.
    explicit BlockScanner(std::string_view text);

    // The next blocks in file order, all that end at the same place; empty once
    // every block was handed out. A text without "<C>" gives one block without an
    // end, whose fields are searched in the whole text.
    const std::vector<ScannedBlock>& nextBlocks();

private:
    // Where a field's opening tag lies and, once seen, the first closing tag after it.
    struct Occurrence {
        std::size_t open;
        std::size_t close;
    };
    // A block whose end is not known yet, with the occurrence each field takes.
    struct Pending {
        std::size_t start;
        std::array<std::int32_t, cardFieldCount> occurrence;
    };
    struct FieldState {
        std::vector<Occurrence> occurrences;
        std::size_t waitingFrom = 0;  // the first pending block without an opening tag yet
        std::size_t openUpTo = 0;     // occurrences before this one have their closing tag
    };

    // Takes the block at `start` whole when it is laid out exactly as the writer
    // writes blocks, which is the common case and needs no bookkeeping at all.
    bool takeWrittenBlock(std::size_t start);
    void openField(std::size_t field, std::size_t at);
    void closeField(std::size_t field, std::size_t at);
    // Every pending block ends at the "</C>" at `end`.
    void endPending(std::size_t end);
    // The text is over: pending blocks end at the first "</C" after them, if any.
    void endOfText();
    std::optional<std::string_view> value(std::size_t field, std::int32_t occurrence,
                                          std::size_t end) const;
    void resetPending();

    std::string_view text_;
    std::size_t position_ = 0;
    bool sawCard_ = false;
    bool done_ = false;
    std::vector<Pending> pending_;
    std::array<FieldState, cardFieldCount> fields_;
    // Cut ends ("</C" without its ">") seen while blocks were pending.
    std::vector<std::size_t> cuts_;
    std::vector<ScannedBlock> ready_;
};
