#include "tools/mqdeck/InputDecoding.h"

#include <cstdint>
#include <cstdio>
#include <utility>

#include "platform/TextCoding.h"
#include "tools/mqdeck/TextLines.h"

bool decodeInput(std::string_view bytes, bool replace, std::string& text, std::string& error) {
    const std::string_view file = bytes;
    const bool marked = startsWithByteOrderMark(bytes);
    if (marked) {
        bytes.remove_prefix(utf8ByteOrderMark.size());
    }
    const std::size_t bad = firstInvalidUtf8(bytes);
    if (bad == std::string_view::npos) {
        text.assign(bytes);
        return true;
    }
    if (!marked) {
        text = cp1252ToUtf8(bytes);
        return true;
    }
    if (!replace) {
        // Counted in the file as it is, mark included, as check counts.
        const TextPosition position = LineIndex(file).at(utf8ByteOrderMark.size() + bad);
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(bytes[bad]));
        error = "line " + std::to_string(position.line) + ", column " +
                std::to_string(position.column) + ": the byte " + hex +
                " is not UTF-8 (--replace writes \"?\" instead)";
        return false;
    }
    text.clear();
    appendValidUtf8(text, bytes);
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
