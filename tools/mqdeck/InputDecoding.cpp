#include "tools/mqdeck/InputDecoding.h"

#include <cstdint>
#include <cstdio>
#include <utility>

#include "platform/TextCoding.h"
#include "tools/mqdeck/TextLines.h"

bool decodeInput(std::string_view bytes, bool replace, std::string& text, std::string& error) {
    const std::string_view file = bytes;
    const bool marked = bytes.substr(0, utf8ByteOrderMark.size()) == utf8ByteOrderMark;
    if (marked) {
        bytes.remove_prefix(utf8ByteOrderMark.size());
    }
    if (!marked && firstInvalidUtf8(bytes) != std::string_view::npos) {
        text = cp1252ToUtf8(bytes);
        return true;
    }
    text.clear();
    text.reserve(bytes.size());
    std::size_t done = 0;
    for (std::size_t bad = firstInvalidUtf8(bytes); bad != std::string_view::npos;
         bad = firstInvalidUtf8(bytes.substr(done))) {
        const std::size_t at = done + bad;
        if (!replace) {
            // Counted in the file as it is, mark included, as check counts.
            const TextPosition position = LineIndex(file).at(file.size() - bytes.size() + at);
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(bytes[at]));
            error = "line " + std::to_string(position.line) + ", column " +
                    std::to_string(position.column) + ": the byte " + hex +
                    " is not UTF-8 (--replace writes \"?\" instead)";
            return false;
        }
        text.append(bytes.substr(done, bad));
        appendUtf8(text, 0xFFFD);
        done = at + 1;
    }
    text.append(bytes.substr(done));
    return true;
}

std::size_t replaceOutsideCp1252(std::string& text) {
    if (fitsCp1252(text)) {
        return 0;
    }
    std::string kept;
    kept.reserve(text.size());
    std::size_t replaced = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(text, at, codePoint);
        if (length == 0 || cp1252Byte(codePoint) < 0) {
            kept += '?';
            ++replaced;
            at += length == 0 ? 1 : length;
        } else {
            kept.append(text, at, length);
            at += length;
        }
    }
    text = std::move(kept);
    return replaced;
}
