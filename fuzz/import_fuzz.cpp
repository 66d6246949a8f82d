// Feeds arbitrary bytes to the import parser and checks that whatever it accepts
// is UTF-8 that a card file of the kind it is saved in holds and reads back
// unchanged (with --replace always code page 1252), and that every export format
// of the imported cards imports again as the same cards.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "fakes/FakeMessageBoxes.h"
#include "model/CardBoxes.h"
#include "platform/TextCoding.h"
#include "tools/mqdeck/ExportText.h"
#include "tools/mqdeck/ImportParser.h"

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "import invariant broken: %s\n", what);
        std::abort();
    }
}

bool lineBreaksAreCrLf(const std::string& text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool lonelyCr = text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n');
        const bool lonelyLf = text[at] == '\n' && (at == 0 || text[at - 1] != '\r');
        if (lonelyCr || lonelyLf) {
            return false;
        }
    }
    return true;
}

bool sameCards(const std::vector<ImportedCard>& a, const std::vector<ImportedCard>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].question != b[i].question || a[i].answer != b[i].answer ||
            a[i].info != b[i].info) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool replace = size % 2 == 0;
    const ImportResult result = parseImport(bytes, replace);
    if (!result.ok) {
        check(result.cards.empty() && !result.error.empty(), "a failed import says why");
        return 0;
    }
    check(replace || result.replaced == 0, "only --replace replaces");

    CardBoxes deck;
    for (const ImportedCard& card : result.cards) {
        check(lineBreaksAreCrLf(card.question) && lineBreaksAreCrLf(card.answer) &&
                  lineBreaksAreCrLf(card.info),
              "line breaks are CR LF");
        for (const std::string* text : {&card.question, &card.answer, &card.info}) {
            check(firstInvalidUtf8(*text) == std::string::npos, "imported texts are UTF-8");
            check(!replace || fitsCp1252(*text), "--replace leaves only code page 1252");
        }
        deck.boxForReading(0).push_back(
            std::make_shared<Card>("-", 0, 0, card.question, card.answer, card.info));
    }

    if (!result.cards.empty()) {
        FakeMessageBoxes boxes;
        CardBoxes reread;
        readCardFileBytes(reread, composeCardText(deck), boxes);
        check(boxes.count() == 0, "an imported deck reads without a box");
        check(reread.count(0) == deck.count(0), "an imported deck reads back whole");
        for (int i = 0; i < deck.count(0); ++i) {
            const Card& a = *deck.box(0)[static_cast<std::size_t>(i)];
            const Card& b = *reread.box(0)[static_cast<std::size_t>(i)];
            check(a.getQuestion() == b.getQuestion() && a.getAnswer() == b.getAnswer() &&
                      a.getInfo() == b.getInfo(),
                  "an imported card reads back from its card file unchanged");
        }
    }

    for (const ExportFormat format : {ExportFormat::tsv, ExportFormat::csv, ExportFormat::anki}) {
        const ImportResult again = parseImport(exportText(deck, format), false);
        check(again.ok && again.replaced == 0 && again.extraColumns == 0 &&
                  again.fieldsAsTheyStand == 0,
              "an export imports without complaint and quotes every field it begins with a quote");
        check(sameCards(result.cards, again.cards), "an export imports as the same cards");
    }
    return 0;
}
