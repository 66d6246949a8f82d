// How fast mqdeck imports a delimited text of 100,000 lines, and exports a deck
// of that size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tools/mqdeck/ExportText.h"
#include "tools/mqdeck/ImportParser.h"
#include "tools/mqdeck/LocalClock.h"
#include "tools/mqdeck/Mqdeck.h"
#include "tools/mqdeck/StdFileSystem.h"

namespace {

constexpr int lineCount = 100000;

// Vocabulary lists as people keep them: UTF-8 with accented letters, some fields
// quoted because they hold the separator, a quote or a line break.
const std::vector<std::string> words = {
    "domus",
    "house",
    "via",
    "road",
    "aqua",
    "water",
    "Stra\xC3\x9F"
    "e",
    "M\xC3\xA4"
    "dchen",
    "caf\xC3\xA9",
    "na\xC3\xAF"
    "ve",
    "\xE2\x82\xAC",
    "to",
    "be",
    "the",
    "of",
    "noun",
    "verb",
    "(f.)",
    "plural",
    "irregular",
    "e.g.",
};

// The same with two words code page 1252 lacks, which make the deck UTF-8.
const std::vector<std::string> wordsBeyondCp1252 = [] {
    std::vector<std::string> all = words;
    all.push_back(
        "\xC5\x81\xC3\xB3"
        "d\xC5\xBA");
    all.push_back("\xE6\x9D\xB1\xE4\xBA\xAC");
    return all;
}();

std::string phrase(std::mt19937& random, int fewest, int most,
                   const std::vector<std::string>& from = words) {
    std::uniform_int_distribution<int> count(fewest, most);
    std::uniform_int_distribution<std::size_t> pick(0, from.size() - 1);
    std::string text;
    for (int n = count(random); n > 0; --n) {
        text += (text.empty() ? "" : " ") + from[pick(random)];
    }
    return text;
}

// Tab-separated lines, one in ten with a quoted field over two lines.
std::string makeTsvText(const std::vector<std::string>& from) {
    std::mt19937 random(20240611);
    std::bernoulli_distribution quoted(0.1);
    std::string out;
    for (int i = 0; i < lineCount; ++i) {
        out += phrase(random, 1, 4, from) + '\t';
        if (quoted(random)) {
            out += "\"" + phrase(random, 1, 5, from) + ", \"\"so\"\"\r\n" +
                   phrase(random, 1, 4, from) + "\"";
        } else {
            out += phrase(random, 1, 8, from);
        }
        out += '\t' + phrase(random, 0, 3, from) + "\r\n";
    }
    return out;
}

const std::string& tsvText(bool utf8Deck = false) {
    static const std::string cp1252Text = makeTsvText(words);
    static const std::string utf8Text = makeTsvText(wordsBeyondCp1252);
    return utf8Deck ? utf8Text : cp1252Text;
}

// The shape the widely used trainers export: headers, guid and note type
// columns, HTML with line breaks and entities, tags.
const std::string& ankiText() {
    static const std::string text = [] {
        std::mt19937 random(7);
        std::string out =
            "#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n#tags column:5\n";
        for (int i = 0; i < lineCount; ++i) {
            out += "g" + std::to_string(i) + "\tBasic\t<b>" + phrase(random, 1, 4) +
                   "</b>&nbsp;&amp;\t" + phrase(random, 1, 5) + "<br>" + phrase(random, 1, 4) +
                   "<div>" + phrase(random, 1, 3) + "</div>\tvocab latin\n";
        }
        return out;
    }();
    return text;
}

void parse(benchmark::State& state, const std::string& text) {
    std::size_t cards = 0;
    for (auto _ : state) {
        const ImportResult result = parseImport(text, false);
        cards = result.cards.size();
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.counters["cards"] = static_cast<double>(cards);
}

void parseTabSeparated(benchmark::State& state) { parse(state, tsvText()); }
void parseHtmlWithHeaders(benchmark::State& state) { parse(state, ankiText()); }

// The whole command as a user runs it: read the file, convert, save the card file,
// as code page 1252 (argument 0) or, with words that code page lacks, as UTF-8 (1).
void importFile(benchmark::State& state) {
    const std::string& text = tsvText(state.range(0) != 0);
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string in = (folder / "mq_import_bench.txt").string();
    const std::string out = (folder / "mq_import_bench.mqf").string();
    std::ofstream(in, std::ios::binary) << text;
    StdFileSystem files;
    LocalClock clock;
    for (auto _ : state) {
        std::ostringstream messages;
        if (runMqdeck({"import", in, out}, messages, messages, files, clock) != 0) {
            state.SkipWithError("the import failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    std::error_code ignored;
    std::filesystem::remove(in, ignored);
    std::filesystem::remove(out, ignored);
}

void exportTabSeparated(benchmark::State& state) {
    const ImportResult imported = parseImport(tsvText(), false);
    CardBoxes deck;
    for (const ImportedCard& card : imported.cards) {
        deck.boxForReading(0).push_back(
            std::make_shared<Card>("-", 0, 0, card.question, card.answer, card.info));
    }
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string text = exportText(deck, ExportFormat::tsv);
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}

BENCHMARK(parseTabSeparated)->Unit(benchmark::kMillisecond);
BENCHMARK(parseHtmlWithHeaders)->Unit(benchmark::kMillisecond);
BENCHMARK(importFile)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(exportTabSeparated)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
