#include "tools/mqdeck/TextLines.h"

#include <algorithm>
#include <cstdint>

#include "platform/TextCoding.h"

std::size_t lineBreakLength(std::string_view text, std::size_t at) {
    if (at >= text.size() || !isLineBreak(text[at])) {
        return 0;
    }
    return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t length = lineBreakLength(text, at)) {
            out += "\r\n";
            at += length;
        } else {
            out += text[at++];
        }
    }
    return out;
}

LineIndex::LineIndex(std::string_view text) : text_(text) {
    starts_.push_back(0);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = lineBreakLength(text, at);
        if (length == 0) {
            ++at;
        } else {
            at += length;
            starts_.push_back(at);
        }
    }
}

std::size_t LineIndex::lineOf(std::size_t offset) const {
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                                    starts_.begin());
}

TextPosition LineIndex::at(std::size_t offset) const {
    const std::size_t line = lineOf(offset);
    TextPosition position{line, 1};
    for (std::size_t at = starts_[line - 1]; at < offset; ++position.column) {
        std::uint32_t ignored = 0;
        at += std::max<std::size_t>(decodeUtf8(text_, at, ignored), 1);
    }
    return position;
}
