#include "tools/mqdeck/TextLines.h"

#include <algorithm>

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

LineIndex::LineIndex(std::string_view text) {
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

TextPosition LineIndex::at(std::size_t offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    const auto line = static_cast<std::size_t>(after - starts_.begin());
    return TextPosition{line, offset - *(after - 1) + 1};
}
