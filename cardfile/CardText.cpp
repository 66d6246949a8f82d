#include "cardfile/CardText.h"

#include <algorithm>
#include <limits>

std::size_t findTag(std::string_view text, std::size_t position, std::string_view tag,
                    std::size_t span) {
    if (position > text.size()) {
        return noTag;
    }
    const std::string_view window = text.substr(position, span);
    const std::size_t hit = window.find(tag);
    return hit == std::string_view::npos ? noTag : position + hit;
}

std::int32_t readInteger(std::string_view value) {
    std::size_t at = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (at < value.size() && isSpace(value[at])) {
        ++at;
    }
    bool negative = false;
    if (at < value.size() && (value[at] == '+' || value[at] == '-')) {
        negative = value[at] == '-';
        ++at;
    }
    // The magnitude, which for a negative value may be one more than the highest.
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    // Nine digits always fit; only longer values need the check.
    const std::size_t unchecked = std::min(value.size(), at + 9);
    for (; at < unchecked && isDigit(value[at]); ++at) {
        magnitude = magnitude * 10 + (value[at] - '0');
    }
    for (; at < value.size() && isDigit(value[at]); ++at) {
        magnitude = magnitude * 10 + (value[at] - '0');
        if (magnitude > limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

CardText::CardText(std::string_view text) : text_(cardTextOf(text)) {}

CardText::TagCursor& CardText::cursorFor(std::string_view tag) {
    for (TagCursor& cursor : cursors_) {
        if (cursor.tag == tag) {
            return cursor;
        }
    }
    cursors_.push_back(TagCursor{tag});
    return cursors_.back();
}

std::size_t CardText::find(std::string_view tag, std::size_t from, std::size_t end) {
    TagCursor& cursor = cursorFor(tag);
    // A remembered hit at or after `from` is still the first one, as is a
    // remembered miss, as long as the search does not start earlier than before.
    const bool stillFirst =
        cursor.valid && from >= cursor.from && (cursor.hit == noTag || cursor.hit >= from);
    if (!stillFirst) {
        cursor.hit = findTag(text_, from, tag, std::string_view::npos);
        cursor.valid = true;
    }
    cursor.from = from;
    if (cursor.hit == noTag || cursor.hit + tag.size() > end) {
        return noTag;
    }
    return cursor.hit;
}

bool CardText::nextCardBlock(std::size_t& scan, CardBlock& block) {
    const std::size_t size = text_.size();
    const std::size_t open = find(cardtag::cardOpen, scan, size);
    std::size_t end = noTag;
    if (open == noTag) {
        block.start = scan;
    } else {
        block.start = open;
        end = find(cardtag::cardClose, open, size);
        if (end == noTag) {
            end = find(cardtag::cardCloseCut, open, size);
        }
    }
    block.found = end != noTag;
    block.end = block.found ? end : size;

    const std::size_t next = find(cardtag::cardOpen, block.start + 1, size);
    if (next == noTag) {
        return false;
    }
    scan = next;
    return true;
}

std::optional<std::string_view> CardText::fieldValue(const CardBlock& block,
                                                     const FieldTags& field) {
    const std::size_t open = find(field.open, block.start, block.end);
    if (open == noTag) {
        return std::nullopt;
    }
    const std::size_t valueStart = open + field.open.size();
    const std::size_t close = find(field.close, valueStart, block.end);
    if (close == noTag) {
        return std::nullopt;
    }
    return text_.substr(valueStart, close - valueStart);
}
