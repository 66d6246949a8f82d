#include "tools/mqdeck/InputDecoding.h"

#include <cstdint>
#include <cstdio>

#include "platform/TextCoding.h"
#include "tools/mqdeck/TextLines.h"

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

bool isUtf8(std::string_view bytes) {
    std::uint32_t ignored = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        // Runs of ASCII are the bulk of any file; skip them cheaply.
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            ++at;
            continue;
        }
        const std::size_t length = decodeUtf8(bytes, at, ignored);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

}  // namespace

std::string describeCharacter(std::uint32_t codePoint) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
    std::string text = code;
    if (codePoint >= 0x20 && codePoint != 0x7F && !(codePoint >= 0x80 && codePoint < 0xA0)) {
        text += " \"";
        appendUtf8(text, codePoint);
        text += '"';
    }
    return text;
}

bool decodeInput(std::string_view bytes, bool replace, DecodedInput& out, std::string& error) {
    const bool marked = bytes.substr(0, byteOrderMark.size()) == byteOrderMark;
    if (marked) {
        bytes.remove_prefix(byteOrderMark.size());
    }
    out.replaced = 0;
    if (!marked && !isUtf8(bytes)) {
        out.text.assign(bytes.data(), bytes.size());
        return true;
    }
    out.text.clear();
    out.text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        // ASCII, the bulk of any file, goes across in runs.
        std::size_t run = at;
        while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80) {
            ++run;
        }
        out.text.append(bytes.data() + at, run - at);
        at = run;
        if (at == bytes.size()) {
            break;
        }
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(bytes, at, codePoint);
        const int byte = length == 0 ? -1 : cp1252Byte(codePoint);
        if (byte >= 0) {
            out.text += static_cast<char>(byte);
            at += length;
        } else if (replace) {
            out.text += '?';
            ++out.replaced;
            at += length == 0 ? 1 : length;
        } else {
            // Every character so far is one byte of the text made: its position
            // there is the character's position in the file.
            const TextPosition position = LineIndex(out.text).at(out.text.size());
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(bytes[at]));
            error = "line " + std::to_string(position.line) + ", column " +
                    std::to_string(position.column) +
                    (length == 0 ? ": the byte " + std::string(hex) + " is not UTF-8"
                                 : ": the character " + describeCharacter(codePoint) +
                                       " is not in code page 1252") +
                    " (--replace writes \"?\" instead)";
            return false;
        }
    }
    return true;
}
