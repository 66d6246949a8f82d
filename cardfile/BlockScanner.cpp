#include "cardfile/BlockScanner.h"

#include <cstring>

#include "cardfile/CardText.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::int32_t noOccurrence = -1;

// The field whose tags carry this letter, or -1.
constexpr std::array<std::int8_t, 256> fieldLetters = [] {
    std::array<std::int8_t, 256> letters{};
    for (auto& letter : letters) {
        letter = -1;
    }
    for (const FieldFormat& format : cardFields) {
        letters[static_cast<unsigned char>(tagLetter(format.field))] =
            static_cast<std::int8_t>(format.field);
    }
    return letters;
}();

int fieldOf(char letter) { return fieldLetters[static_cast<unsigned char>(letter)]; }

// The scanner recognises tags by their letter after '<' or "</".
static_assert(cardtag::cardOpen.size() == 3 && cardtag::cardClose.size() == 4);
constexpr bool letterTags() {
    for (const FieldFormat& format : cardFields) {
        if (format.tags.open.size() != 3 || format.tags.close.size() != 4 ||
            format.tags.close[2] != tagLetter(format.field)) {
            return false;
        }
    }
    return true;
}
static_assert(letterTags());

// The written layout's runs of tags, compared as two words each below.
constexpr bool eightToSixteen(const TagRun& run) { return run.size() >= 8 && run.size() <= 16; }
constexpr bool joinsAreWords() {
    for (std::size_t field = 0; field < cardFieldCount; ++field) {
        for (std::size_t next = field + 1; next <= cardFieldCount; ++next) {
            if (!eightToSixteen(writtenJoins[field][next].run)) {
                return false;
            }
        }
    }
    return eightToSixteen(writtenOpen);
}
static_assert(joinsAreWords());

// Whether `tag`, of 8 to 16 bytes, lies at `at`: two words compared, where a call
// to compare bytes would cost more than the comparing.
bool tagIsAt(const char* at, std::string_view tag) {
    const std::size_t last = tag.size() - 8;
    std::uint64_t head = 0, tail = 0, tagHead = 0, tagTail = 0;
    std::memcpy(&head, at, 8);
    std::memcpy(&tail, at + last, 8);
    std::memcpy(&tagHead, tag.data(), 8);
    std::memcpy(&tagTail, tag.data() + last, 8);
    return ((head ^ tagHead) | (tail ^ tagTail)) == 0;
}

// The first '<' from `from` on, or `end`. Most values a block holds are a few
// bytes long, too short for a call to a library search to pay off.
const char* findOpening(const char* from, const char* end) {
#if defined(__SSE2__)
    const __m128i opening = _mm_set1_epi8('<');
    for (; end - from >= 16; from += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, opening));
        if (found != 0) {
            return from + __builtin_ctz(static_cast<unsigned>(found));
        }
    }
#endif
    const void* found = std::memchr(from, '<', static_cast<std::size_t>(end - from));
    return found == nullptr ? end : static_cast<const char*>(found);
}

}  // namespace

BlockScanner::BlockScanner(std::string_view text) : text_(cardTextOf(text)) {}

const std::vector<ScannedBlock>& BlockScanner::nextBlocks() {
    ready_.clear();
    const char* const begin = text_.data();
    const std::size_t size = text_.size();
    while (ready_.empty() && !done_) {
        const void* found =
            position_ < size ? std::memchr(begin + position_, '<', size - position_) : nullptr;
        if (found == nullptr) {
            position_ = size;
            endOfText();
            break;
        }
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - begin);
        position_ = at + 1;
        if (at + 2 >= size) {
            continue;  // too short for any tag; an end of text follows
        }
        const char first = begin[at + 1];
        const char second = begin[at + 2];
        if (first == '/') {
            const char third = at + 3 < size ? begin[at + 3] : '\0';
            if (second == 'C') {
                if (third == '>') {
                    endPending(at);
                } else if (!pending_.empty()) {
                    cuts_.push_back(at);
                }
            } else if (third == '>') {
                const int field = fieldOf(second);
                if (field >= 0) {
                    closeField(static_cast<std::size_t>(field), at);
                }
            }
        } else if (second == '>') {
            if (first == 'C') {
                sawCard_ = true;
                if (pending_.empty() && takeWrittenBlock(at)) {
                    continue;
                }
                Pending block{at, {}};
                block.occurrence.fill(noOccurrence);
                pending_.push_back(block);
            } else {
                const int field = fieldOf(first);
                if (field >= 0) {
                    openField(static_cast<std::size_t>(field), at);
                }
            }
        }
    }
    return ready_;
}

bool BlockScanner::takeWrittenBlock(std::size_t start) {
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    const auto runAt = [end](const char* at, const TagRun& run) {
        return run.size() <= static_cast<std::size_t>(end - at) && tagIsAt(at, run.view());
    };
    if (!runAt(begin + start, writtenOpen)) {
        return false;
    }
    // A value ends at the first '<' after it, which must begin the tags that the
    // writer puts next: then no other tag lies within the block.
    const char* value = begin + start + writtenOpen.size();
    std::array<std::optional<std::string_view>, cardFieldCount> values;
    std::size_t field = 0;
    while (field < cardFieldCount) {
        const char* const closing = findOpening(value, end);
        values[static_cast<std::size_t>(cardFields[field].field)] =
            std::string_view(value, static_cast<std::size_t>(closing - value));
        // Optional fields may be left out: the next possible join that lies here.
        std::size_t next = field + 1;
        while (!runAt(closing, writtenJoins[field][next].run)) {
            if (++next > cardFieldCount || !writtenJoins[field][next].possible) {
                return false;
            }
        }
        value = closing + writtenJoins[field][next].run.size();
        field = next;
    }
    ScannedBlock& block = ready_.emplace_back();
    block.found = true;
    block.fields = values;
    position_ = static_cast<std::size_t>(value - begin);
    return true;
}

void BlockScanner::openField(std::size_t field, std::size_t at) {
    FieldState& state = fields_[field];
    if (state.waitingFrom == pending_.size()) {
        return;  // no block is waiting for this field
    }
    const auto occurrence = static_cast<std::int32_t>(state.occurrences.size());
    state.occurrences.push_back(Occurrence{at, noTag});
    for (std::size_t block = state.waitingFrom; block < pending_.size(); ++block) {
        pending_[block].occurrence[field] = occurrence;
    }
    state.waitingFrom = pending_.size();
}

void BlockScanner::closeField(std::size_t field, std::size_t at) {
    FieldState& state = fields_[field];
    for (std::size_t open = state.openUpTo; open < state.occurrences.size(); ++open) {
        state.occurrences[open].close = at;
    }
    state.openUpTo = state.occurrences.size();
}

std::optional<std::string_view> BlockScanner::value(std::size_t field, std::int32_t occurrence,
                                                    std::size_t end) const {
    if (occurrence == noOccurrence) {
        return std::nullopt;
    }
    const Occurrence& tags = fields_[field].occurrences[static_cast<std::size_t>(occurrence)];
    // A tag that begins before the end lies whole before it: the end is a '<'.
    if (tags.close == noTag || tags.close >= end) {
        return std::nullopt;
    }
    const std::size_t start = tags.open + tagsOf(static_cast<CardField>(field)).open.size();
    return text_.substr(start, tags.close - start);
}

void BlockScanner::endPending(std::size_t end) {
    if (pending_.empty()) {
        return;  // an end between blocks
    }
    for (const Pending& block : pending_) {
        ScannedBlock& out = ready_.emplace_back();
        out.found = true;
        for (std::size_t field = 0; field < cardFieldCount; ++field) {
            out.fields[field] = value(field, block.occurrence[field], end);
        }
    }
    resetPending();
}

void BlockScanner::endOfText() {
    done_ = true;
    if (!sawCard_) {
        // The one block starts at the beginning, has no end, and takes its fields
        // from the whole text.
        CardText whole(text_);
        const CardBlock block{0, text_.size(), false};
        ScannedBlock& out = ready_.emplace_back();
        for (std::size_t field = 0; field < cardFieldCount; ++field) {
            out.fields[field] = whole.fieldValue(block, tagsOf(static_cast<CardField>(field)));
        }
        return;
    }
    auto cut = cuts_.begin();
    for (const Pending& block : pending_) {
        while (cut != cuts_.end() && *cut < block.start) {
            ++cut;
        }
        ScannedBlock& out = ready_.emplace_back();
        out.found = cut != cuts_.end();
        const std::size_t end = out.found ? *cut : text_.size();
        for (std::size_t field = 0; field < cardFieldCount; ++field) {
            out.fields[field] = value(field, block.occurrence[field], end);
        }
    }
    resetPending();
}

void BlockScanner::resetPending() {
    pending_.clear();
    cuts_.clear();
    for (FieldState& state : fields_) {
        state.occurrences.clear();
        state.waitingFrom = 0;
        state.openUpTo = 0;
    }
}
