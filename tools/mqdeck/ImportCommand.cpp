// mqdeck import: delimited text in, new cards (box 0) out.
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_set>

#include "tools/mqdeck/Command.h"
#include "tools/mqdeck/ImportParser.h"
#include "tools/mqdeck/ToolFiles.h"

namespace {

std::string counted(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string cardKey(std::string_view question, std::string_view answer) {
    std::string key(question);
    key += '\0';
    key += answer;
    return key;
}

struct Added {
    std::size_t cards = 0;
    std::size_t duplicates = 0;
};

// Appends to box 0, numbered on from its last card. A card whose question and
// answer the deck already held before this import counts as a duplicate; cards
// repeated within the imported file all come in, as they would into a new deck.
Added addCards(CardBoxes& deck, const std::vector<ImportedCard>& cards, bool skipDuplicates) {
    std::unordered_set<std::string> known;
    if (skipDuplicates) {
        for (int box = 0; box < CardBoxes::boxCount; ++box) {
            for (const CardRef& card : deck.box(box)) {
                known.insert(cardKey(card->getQuestion(), card->getAnswer()));
            }
        }
    }
    Added added;
    CardBoxes::Box& newCards = deck.boxForReading(0);
    for (const ImportedCard& card : cards) {
        if (skipDuplicates && known.count(cardKey(card.question, card.answer)) != 0) {
            ++added.duplicates;
            continue;
        }
        const auto number = static_cast<std::int32_t>(newCards.size() + 1);
        newCards.push_back(std::make_shared<Card>(number == 1 ? "+" : "-", 0, number, card.question,
                                                  card.answer, card.info));
        ++added.cards;
    }
    deck.setHasCards(1);
    return added;
}

std::string usageError(const CommandLine& line) {
    const bool into = line.has("--into");
    if (into && line.files.size() != 1) {
        return "with --into, give IN only";
    }
    if (!into && line.files.size() != 2) {
        return "give IN and OUT, or IN and --into DECK";
    }
    if (!into && line.has("--keep-duplicates")) {
        return "--keep-duplicates goes with --into";
    }
    return {};
}

int runImport(const CommandLine& line, ToolStreams& io) {
    const std::string misuse = usageError(line);
    if (!misuse.empty()) {
        io.err << "mqdeck: import: " << misuse << '\n' << importCommand.usage;
        return exitUsage;
    }
    const bool into = line.has("--into");
    const std::string& in = line.files[0];
    const std::string out = into ? line.value("--into") : line.files[1];

    std::string bytes;
    if (!readInputFile(io.files, in, bytes, io.err)) {
        return exitFailed;
    }
    const ImportResult result = parseImport(bytes, line.has("--replace"));
    if (!result.ok) {
        io.err << "mqdeck: " << in << ": " << result.error << '\n';
        return exitFailed;
    }
    // Not a failure, as every character is kept; but a quote left open may be a
    // quoted field cut short, which only the user can tell.
    for (const std::size_t unclosed : result.unclosedQuoteLines) {
        io.err << "mqdeck: " << in << ": line " << unclosed
               << ": the quote that begins a field is never closed: the field is taken as it "
                  "stands, up to the next separator\n";
    }

    CardBoxes deck;
    if (into) {
        // The deck is saved over: a file that holds no card is not one to overwrite.
        if (!readDeckFile(io.files, out, deck, io.err, false)) {
            return exitFailed;
        }
    }
    const bool wasUtf8 = deck.encoding() == CardEncoding::utf8;
    const Added added = addCards(deck, result.cards, into && !line.has("--keep-duplicates"));
    if (!into && added.cards == 0) {
        io.err << "mqdeck: " << in << " holds no cards: nothing saved\n";
        return exitFailed;
    }
    if (added.cards > 0 && !saveDeckFile(io.files, out, deck, io.err)) {
        return exitFailed;
    }
    io.out << counted(added.cards, "card") << " imported, " << added.duplicates
           << " skipped as duplicates, " << counted(result.replaced, "character") << " replaced, "
           << counted(result.extraColumns, "extra column") << " ignored\n";
    if (const std::size_t kept = result.fieldsAsTheyStand) {
        io.out << counted(kept, "field")
               << (kept == 1 ? " begins with a quote but is not quoted: taken as it stands"
                             : " begin with a quote but are not quoted: taken as they stand")
               << ", quotes included\n";
    }
    // Older readers take a UTF-8 file for code page 1252: worth a word when it starts.
    if (!wasUtf8 && deck.encoding() == CardEncoding::utf8) {
        io.out << out << (into ? " is now UTF-8" : " is UTF-8")
               << ", with a byte-order mark: code page 1252 lacks some of its characters\n";
    }
    return exitDone;
}

}  // namespace

const Command importCommand{
    "import",
    "usage: mqdeck import [--replace] IN OUT\n"
    "       mqdeck import [--replace] [--keep-duplicates] --into DECK IN\n",
    "Reads the delimited text file IN and saves its cards as new cards (box 0), in\n"
    "the file's order, to the new card file OUT or at the end of box 0 of DECK.\n"
    "Every character is kept: OUT is code page 1252 when that holds them all, else\n"
    "UTF-8 with a byte-order mark, and DECK turns UTF-8 when the new cards need it.\n"
    "IN is UTF-8, with or without a byte-order mark, or else code page 1252. Lines\n"
    "at its top that begin with \"#\" are headers: \"#separator:\" names the separator\n"
    "(tab, comma, semicolon, pipe, colon, space, or the character itself; without\n"
    "it the first line tells tab, semicolon or comma), \"#html:true\" reads fields\n"
    "as HTML, and \"#guid column:N\", \"#notetype column:N\", \"#deck column:N\" and\n"
    "\"#tags column:N\" name columns to leave out. The columns left are question,\n"
    "answer and info; further ones are ignored. Quoted fields (RFC 4180) may hold\n"
    "separators, doubled quotes and line breaks; a field that begins with a quote\n"
    "but does not end with its closing quote is taken as it stands, quotes and all.\n"
    "A field holding a card file tag such as <Q> or </A> stops the import: card\n"
    "files cannot hold them.\n"
    "  --replace          write \"?\" for characters code page 1252 lacks, and for\n"
    "                     bytes that are no UTF-8 after a byte-order mark, so that\n"
    "                     a code page 1252 card file stays one\n"
    "  --into DECK        add the cards to the card file DECK and save it\n"
    "  --keep-duplicates  with --into, also add cards whose question and answer are\n"
    "                     those of a card DECK holds\n",
    {{"--replace", false}, {"--into", true}, {"--keep-duplicates", false}},
    1,
    2,
    runImport,
};
