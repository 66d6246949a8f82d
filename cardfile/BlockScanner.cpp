#include "cardfile/BlockScanner.h"

#include <cstring>

#include "cardfile/CardText.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::int32_t noOccurrence = -1;
constexpr std::size_t openTagSize = 3;  // "<Q>"

// The field whose tags carry this letter, or -1.
constexpr std::array<std::int8_t, 256> fieldLetters = [] {
    std::array<std::int8_t, 256> letters{};
    for (auto& letter : letters) {
        letter = -1;
    }
    letters['M'] = static_cast<std::int8_t>(CardField::mark);
    letters['S'] = static_cast<std::int8_t>(CardField::section);
    letters['N'] = static_cast<std::int8_t>(CardField::number);
    letters['Q'] = static_cast<std::int8_t>(CardField::question);
    letters['I'] = static_cast<std::int8_t>(CardField::info);
    letters['A'] = static_cast<std::int8_t>(CardField::answer);
    letters['D'] = static_cast<std::int8_t>(CardField::day);
    return letters;
}();

int fieldOf(char letter) { return fieldLetters[static_cast<unsigned char>(letter)]; }

// A block as the writer lays it out: the tags between the values, and the values
// in the order it writes them. The day is written only for cards that have one.
constexpr std::size_t writtenFieldCount = cardFieldCount - 1;
constexpr std::array<std::string_view, writtenFieldCount + 1> writtenTags = {
    "<C>\r\n<M>",  "</M>\r\n<S>", "</S>\r\n<N>", "</N>\r\n<Q>",
    "</Q>\r\n<A>", "</A>\r\n<I>", "</I>\r\n</C>"};
constexpr std::string_view writtenBeforeDay = "</I>\r\n<D>";
constexpr std::string_view writtenAfterDay = "</D>\r\n</C>";
constexpr std::array<CardField, writtenFieldCount> writtenFields = {
    CardField::mark,     CardField::section, CardField::number,
    CardField::question, CardField::answer,  CardField::info};

constexpr bool eightToSixteen(std::string_view tag) { return tag.size() >= 8 && tag.size() <= 16; }
static_assert(eightToSixteen(writtenTags[0]) && eightToSixteen(writtenTags[1]) &&
              eightToSixteen(writtenTags[2]) && eightToSixteen(writtenTags[3]) &&
              eightToSixteen(writtenTags[4]) && eightToSixteen(writtenTags[5]) &&
              eightToSixteen(writtenTags[6]) && eightToSixteen(writtenBeforeDay) &&
              eightToSixteen(writtenAfterDay));

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

constexpr std::array<FieldTags, cardFieldCount> tagsOf = {
    cardfield::mark, cardfield::section, cardfield::number, cardfield::question,
    cardfield::info, cardfield::answer,  cardfield::day};

}  // namespace

BlockScanner::BlockScanner(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

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
    const auto tagAt = [end](const char* at, std::string_view tag) {
        return tag.size() <= static_cast<std::size_t>(end - at) && tagIsAt(at, tag);
    };
    if (!tagAt(begin + start, writtenTags[0])) {
        return false;
    }
    // A value ends at the first '<' after it, which must begin the tags that the
    // writer puts next: then no other tag lies within the block.
    const char* value = begin + start + writtenTags[0].size();
    std::array<std::string_view, writtenFieldCount> values;
    const auto take = [&](const char* closing, std::string_view tags, std::string_view& taken) {
        taken = std::string_view(value, static_cast<std::size_t>(closing - value));
        value = closing + tags.size();
    };
    for (std::size_t field = 0; field + 1 < writtenFieldCount; ++field) {
        const char* const closing = findOpening(value, end);
        if (!tagAt(closing, writtenTags[field + 1])) {
            return false;
        }
        take(closing, writtenTags[field + 1], values[field]);
    }
    // The info ends either the block or the tags before a day.
    std::optional<std::string_view> day;
    const std::size_t info = writtenFieldCount - 1;
    const char* closing = findOpening(value, end);
    if (tagAt(closing, writtenTags[info + 1])) {
        take(closing, writtenTags[info + 1], values[info]);
    } else if (tagAt(closing, writtenBeforeDay)) {
        take(closing, writtenBeforeDay, values[info]);
        closing = findOpening(value, end);
        if (!tagAt(closing, writtenAfterDay)) {
            return false;
        }
        std::string_view dayValue;
        take(closing, writtenAfterDay, dayValue);
        day = dayValue;
    } else {
        return false;
    }
    ScannedBlock& block = ready_.emplace_back();
    block.found = true;
    for (std::size_t field = 0; field < writtenFieldCount; ++field) {
        block.fields[static_cast<std::size_t>(writtenFields[field])] = values[field];
    }
    block.fields[static_cast<std::size_t>(CardField::day)] = day;
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
    const std::size_t start = tags.open + openTagSize;
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
            out.fields[field] = whole.fieldValue(block, tagsOf[field]);
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
