#include "tools/mqdeck/ImportParser.h"

#include <algorithm>
#include <iterator>

#include "cardfile/CardFormat.h"
#include "tools/mqdeck/DelimitedText.h"
#include "tools/mqdeck/HtmlText.h"
#include "tools/mqdeck/InputDecoding.h"
#include "tools/mqdeck/TextLines.h"

namespace {

// The first thing in `text` that would not read back from a card file.
std::string_view unwritable(std::string_view text) {
    if (cardTextEnd(text) != text.size()) {
        return std::string_view("\0", 1);
    }
    // Every tag starts with "<": only those places need a look. The cut end "</C"
    // is among them, since the reader ends a card at it too.
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        const std::string_view rest = text.substr(at);
        for (const std::string_view tag : allCardTags) {
            if (rest.substr(0, tag.size()) == tag) {
                return tag;
            }
        }
    }
    return {};
}

class Importer {
public:
    Importer(const std::string& text, bool replace, ImportResult& result)
        : text_(text), replace_(replace), result_(result) {}

    bool run() {
        DelimitedHeaders headers;
        if (!readHeaders(text_, headers, result_.error)) {
            return false;
        }
        html_ = headers.html;
        skipped_ = headers.skippedColumns;
        const char separator =
            headers.separator != 0 ? headers.separator : detectSeparator(text_, headers.dataStart);
        DelimitedReader reader(text_, separator, headers.dataStart);
        DelimitedRecord record;
        while (reader.next(record)) {
            if (!addCard(record)) {
                return false;
            }
        }
        result_.fieldsAsTheyStand = reader.fieldsAsTheyStand();
        if (!reader.unclosedQuotes().empty()) {
            const LineIndex lines(text_);
            for (const std::size_t at : reader.unclosedQuotes()) {
                result_.unclosedQuoteLines.push_back(lines.lineOf(at));
            }
        }
        return true;
    }

private:
    bool fail(std::size_t at, const std::string& why) {
        result_.error = "line " + std::to_string(LineIndex(text_).lineOf(at)) + ": " + why;
        return false;
    }

    bool addCard(const DelimitedRecord& record) {
        ImportedCard& card = result_.cards.emplace_back();
        std::string* const texts[] = {&card.question, &card.answer, &card.info};
        std::size_t used = 0;
        for (std::size_t column = 0; column < record.count; ++column) {
            if (std::find(skipped_.begin(), skipped_.end(), column) != skipped_.end()) {
                continue;
            }
            if (used < std::size(texts) && !takeField(record.fields[column], *texts[used])) {
                return false;
            }
            ++used;
        }
        if (used > std::size(texts)) {
            result_.extraColumns = std::max(result_.extraColumns, used - std::size(texts));
        }
        return true;
    }

    bool takeField(const DelimitedField& field, std::string& text) {
        text = html_ ? htmlToText(field.value) : field.value;
        if (replace_) {
            result_.replaced += replaceOutsideCp1252(text);
        }
        const std::string_view bad = unwritable(text);
        if (bad.empty()) {
            return true;
        }
        // Point at the tag itself when the field holds it as written.
        const std::size_t raw = std::string_view(text_).substr(0, field.end).find(bad, field.begin);
        const std::string what = bad == std::string_view("\0", 1)
                                     ? "a NUL character"
                                     : "the card file tag \"" + std::string(bad) + "\"";
        return fail(raw != std::string_view::npos ? raw : field.begin,
                    "a field holds " + what +
                        ", which a card file cannot hold: the card would not read back");
    }

    // Lines are only counted for a message: an import that goes well never needs them.
    const std::string& text_;
    bool replace_;
    ImportResult& result_;
    bool html_ = false;
    std::vector<std::size_t> skipped_;
};

}  // namespace

ImportResult parseImport(std::string_view bytes, bool replace) {
    ImportResult result;
    std::string text;
    if (!decodeInput(bytes, replace, text, result.error)) {
        return result;
    }
    Importer importer(text, replace, result);
    result.ok = importer.run();
    if (!result.ok) {
        result.cards.clear();
    }
    return result;
}
