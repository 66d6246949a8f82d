#include "tools/mqdeck/HtmlText.h"

#include <array>
#include <cctype>
#include <cstdint>

#include "platform/TextCoding.h"
#include "tools/mqdeck/TextLines.h"

namespace {

// The names of U+00A0 to U+00FF, in order.
constexpr std::array<std::string_view, 96> latin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

struct NamedEntity {
    std::string_view name;
    std::uint32_t codePoint;
};

// The other names for characters of code page 1252, which card files long held
// alone, and a few common ones for characters it lacks.
constexpr NamedEntity otherNames[] = {
    {"quot", 0x22},     {"amp", 0x26},      {"apos", 0x27},     {"lt", 0x3C},
    {"gt", 0x3E},       {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},
    {"scaron", 0x161},  {"Yuml", 0x178},    {"Zcaron", 0x17D},  {"zcaron", 0x17E},
    {"fnof", 0x192},    {"circ", 0x2C6},    {"tilde", 0x2DC},   {"ndash", 0x2013},
    {"mdash", 0x2014},  {"lsquo", 0x2018},  {"rsquo", 0x2019},  {"sbquo", 0x201A},
    {"ldquo", 0x201C},  {"rdquo", 0x201D},  {"bdquo", 0x201E},  {"dagger", 0x2020},
    {"Dagger", 0x2021}, {"bull", 0x2022},   {"hellip", 0x2026}, {"permil", 0x2030},
    {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC},   {"trade", 0x2122},
    {"ensp", 0x2002},   {"emsp", 0x2003},   {"thinsp", 0x2009}, {"larr", 0x2190},
    {"rarr", 0x2192},   {"harr", 0x2194},   {"minus", 0x2212},  {"ne", 0x2260},
    {"le", 0x2264},     {"ge", 0x2265},
};

bool namedCodePoint(std::string_view name, std::uint32_t& codePoint) {
    for (std::size_t i = 0; i < latin1Names.size(); ++i) {
        if (latin1Names[i] == name) {
            codePoint = static_cast<std::uint32_t>(0xA0 + i);
            return true;
        }
    }
    for (const NamedEntity& entity : otherNames) {
        if (entity.name == name) {
            codePoint = entity.codePoint;
            return true;
        }
    }
    return false;
}

bool isAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// The length of the character reference at `at` ("&amp;", "&#233;", "&#xE9;"),
// or 0 when none starts there.
std::size_t readEntity(std::string_view html, std::size_t at, std::uint32_t& codePoint) {
    constexpr std::size_t longest = 12;
    const std::size_t semicolon = html.substr(0, at + longest + 1).find(';', at);
    if (semicolon == std::string_view::npos || semicolon - at < 3) {
        return 0;
    }
    const std::string_view body = html.substr(at + 1, semicolon - at - 1);
    for (const char c : body.substr(body[0] == '#' ? 1 : 0)) {
        if (!isAlnum(c)) {
            return 0;
        }
    }
    if (body[0] != '#') {
        return namedCodePoint(body, codePoint) ? body.size() + 2 : 0;
    }
    const bool hex = body[1] == 'x' || body[1] == 'X';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) {
        return 0;
    }
    std::uint32_t value = 0;
    for (const char c : digits) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : hex && std::isxdigit(static_cast<unsigned char>(c))
                              ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                              : -1;
        if (digit < 0 || value > 0x10FFFF) {
            return 0;
        }
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    // As browsers read them, references to 128 to 159 mean the code page's bytes.
    codePoint =
        value >= 0x80 && value < 0xA0 ? cp1252CodePoint(static_cast<unsigned char>(value)) : value;
    return body.size() + 2;
}

// `unclosed`: no tag could close, the text ended first.
enum class TagKind { none, unclosed, lineBreak, block, other };

// The tag at `at` and where it ends; none when the "<" starts no tag.
TagKind readTag(std::string_view html, std::size_t at, std::size_t& end) {
    std::size_t pos = at + 1;
    if (html.substr(pos, 3) == "!--") {
        const std::size_t close = html.find("-->", pos + 3);
        if (close == std::string_view::npos) {
            return TagKind::unclosed;
        }
        end = close + 3;
        return TagKind::other;
    }
    if (pos < html.size() && (html[pos] == '/' || html[pos] == '!')) {
        ++pos;
    }
    const std::size_t nameStart = pos;
    while (pos < html.size() && isAlnum(html[pos])) {
        ++pos;
    }
    if (pos == nameStart || !std::isalpha(static_cast<unsigned char>(html[nameStart]))) {
        return TagKind::none;
    }
    std::string name(html.substr(nameStart, pos - nameStart));
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    // Attribute values may hold a ">".
    char quote = 0;
    for (; pos < html.size(); ++pos) {
        const char c = html[pos];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            end = pos + 1;
            return name == "br"    ? TagKind::lineBreak
                   : name == "div" ? TagKind::block
                                   : TagKind::other;
        }
    }
    return TagKind::unclosed;
}

}  // namespace

std::string htmlToText(std::string_view html) {
    std::string out;
    out.reserve(html.size());
    // A div boundary breaks the line only between two pieces of text, and only
    // once: "a<div>b</div><div>c</div>" is three lines, not five.
    bool pendingBreak = false;
    auto beginText = [&] {
        if (pendingBreak && !out.empty() && out.back() != '\n') {
            out += "\r\n";
        }
        pendingBreak = false;
    };
    // Once a tag ran to the end of the text unclosed, no later one can close
    // either (short of a stray quote): the rest is text, and a field full of "<"
    // is not scanned to its end once for each.
    bool tagsClose = true;
    for (std::size_t at = 0; at < html.size();) {
        const char c = html[at];
        if (c == '<' && tagsClose) {
            std::size_t end = 0;
            const TagKind kind = readTag(html, at, end);
            tagsClose = kind != TagKind::unclosed;
            if (kind != TagKind::none && kind != TagKind::unclosed) {
                if (kind == TagKind::lineBreak) {
                    beginText();
                    out += "\r\n";
                } else if (kind == TagKind::block) {
                    pendingBreak = true;
                }
                at = end;
                continue;
            }
        } else if (c == '&') {
            std::uint32_t codePoint = 0;
            if (const std::size_t length = readEntity(html, at, codePoint)) {
                beginText();
                appendUtf8(out, codePoint);
                at += length;
                continue;
            }
        }
        beginText();
        out += c;
        ++at;
    }
    // "&#13;" or "&#10;" alone would leave half a line break.
    return withCrLf(out);
}

std::string textToHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t lineBreak = lineBreakLength(text, at)) {
            out += "<br>";
            at += lineBreak;
            continue;
        }
        switch (text[at]) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
                out += "&#9;";
                break;
            default:
                out += text[at];
        }
        ++at;
    }
    return out;
}
