#include "tools/mqdeck/ExportText.h"

#include <iterator>

#include "platform/TextCoding.h"
#include "tools/mqdeck/HtmlText.h"

namespace {

constexpr std::string_view lineEnd = "\r\n";

// Besides what RFC 4180 asks to quote, a field is quoted when it would make the
// importer guess another separator, take its line for a header or, leading the
// file, take its U+FEFF for a byte-order mark.
bool needsQuotes(std::string_view text, ExportFormat format, bool firstField) {
    const std::string_view special = format == ExportFormat::csv ? ",;\t\"\r\n" : "\t\"\r\n";
    return text.find_first_of(special) != std::string_view::npos ||
           (firstField && (text.substr(0, 1) == "#" || startsWithByteOrderMark(text)));
}

void appendDelimited(std::string& out, std::string_view text, ExportFormat format,
                     bool firstField) {
    if (!needsQuotes(text, format, firstField)) {
        appendValidUtf8(out, text);
        return;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    quoted += '"';
    appendValidUtf8(out, quoted);
}

void appendHtml(std::string& out, std::string_view text, bool firstField) {
    std::string html = textToHtml(text);
    if (firstField && !html.empty() && html[0] == '#') {
        html.replace(0, 1, "&#35;");
    }
    appendValidUtf8(out, html);
}

}  // namespace

bool exportFormatNamed(std::string_view name, ExportFormat& format) {
    if (name == "tsv") {
        format = ExportFormat::tsv;
    } else if (name == "csv") {
        format = ExportFormat::csv;
    } else if (name == "anki") {
        format = ExportFormat::anki;
    } else {
        return false;
    }
    return true;
}

std::string exportText(const CardBoxes& deck, ExportFormat format) {
    std::string out;
    if (format == ExportFormat::csv) {
        out += utf8ByteOrderMark;
    } else if (format == ExportFormat::anki) {
        out += "#separator:tab\r\n#html:true\r\n#tags column:4\r\n";
    }
    const char separator = format == ExportFormat::csv ? ',' : '\t';
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        for (const CardRef& card : deck.box(box)) {
            const std::string_view texts[] = {card->getQuestion(), card->getAnswer(),
                                              card->getInfo()};
            for (std::size_t i = 0; i < std::size(texts); ++i) {
                if (i > 0) {
                    out += separator;
                }
                if (format == ExportFormat::anki) {
                    appendHtml(out, texts[i], i == 0);
                } else {
                    appendDelimited(out, texts[i], format, i == 0);
                }
            }
            if (format == ExportFormat::anki) {
                out += "\tmnemoquill::box" + std::to_string(box);
            }
            out += lineEnd;
        }
    }
    return out;
}
