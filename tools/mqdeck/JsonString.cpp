#include "tools/mqdeck/JsonString.h"

#include <cstdint>

#include "platform/TextCoding.h"

std::string jsonString(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 2);
    out += '"';
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        switch (byte) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out += hex[byte >> 4];
                    out += hex[byte & 0x0F];
                } else if (byte < 0x80) {
                    out += static_cast<char>(byte);
                } else {
                    std::uint32_t codePoint = 0;
                    const std::size_t length = nextUtf8(text, at, codePoint);
                    appendUtf8(out, codePoint);
                    at += length - 1;
                }
        }
    }
    out += '"';
    return out;
}
