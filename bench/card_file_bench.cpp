// How fast a deck of 100,000 cards is read from its text, composed and saved.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "model/CardBoxes.h"
#include "platform/MessageBoxes.h"
#include "platform/WinConstants.h"

#ifdef MQ_BENCH_FILES
#include "tools/mqdeck/StdFileSystem.h"
#endif

namespace {

constexpr int deckSize = 100000;

// Any box during a benchmark means the deck or the file was not what it should be.
class CountingBoxes : public MessageBoxes {
public:
    int show(WindowRef, const std::string&, const char*, unsigned) override {
        ++shown;
        return IDYES;
    }
    int shown = 0;
};

// Vocabulary of a language deck, with the code page 1252 letters such decks hold.
const std::vector<std::string> words = {
    "domus",      "house",      "via",        "road",      "aqua",     "water",   "terra",
    "earth",      "amicus",     "friend",     "liber",     "book",     "der",     "die",
    "das",        "Stra\337e",  "M\344dchen", "B\374cher", "sch\366n", "caf\351", "na\357ve",
    "\200",       "Pr\374fung", "to",         "be",        "the",      "of",      "a",
    "noun",       "verb",       "(f.)",       "(m.)",      "(n.)",     "plural",  "genitive",
    "accusative", "irregular",  "see also",   "e.g.",      "100",      "1.",
};

std::string phrase(std::mt19937& random, int minWords, int maxWords) {
    std::uniform_int_distribution<int> count(minWords, maxWords);
    std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
    std::string text;
    for (int n = count(random); n > 0; --n) {
        if (!text.empty()) {
            text += ' ';
        }
        text += words[pick(random)];
    }
    return text;
}

// A deck as it looks after some learning: most cards new or in the low boxes,
// some texts over two lines.
const CardBoxes& largeDeck() {
    static const std::unique_ptr<CardBoxes> deck = [] {
        auto made = std::make_unique<CardBoxes>();
        std::mt19937 random(20240611);
        std::discrete_distribution<int> box({30, 25, 15, 10, 8, 7, 5});
        std::bernoulli_distribution twoLines(0.1);
        for (int i = 0; i < deckSize; ++i) {
            const int section = box(random);
            std::string answer = phrase(random, 1, 8);
            if (twoLines(random)) {
                answer += "\r\n" + phrase(random, 1, 6);
            }
            CardBoxes::Box& cards = made->boxForReading(section);
            const auto number = static_cast<std::int32_t>(cards.size() + 1);
            cards.push_back(std::make_shared<Card>(number == 1 ? "+" : "-", section, number,
                                                   phrase(random, 1, 5), std::move(answer),
                                                   phrase(random, 0, 3)));
        }
        made->setHasCards(1);
        return made;
    }();
    return *deck;
}

const std::string& largeText() {
    static const std::string text = composeCardText(largeDeck());
    return text;
}

void readDeck(benchmark::State& state) {
    const std::string& text = largeText();
    CountingBoxes boxes;
    for (auto _ : state) {
        auto deck = std::make_unique<CardBoxes>();
        readCardText(*deck, text, boxes);
        benchmark::DoNotOptimize(deck.get());
        state.PauseTiming();  // freeing the cards is not reading them
        deck.reset();
        state.ResumeTiming();
    }
    if (boxes.shown != 0) {
        state.SkipWithError("the reader showed a box");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.counters["cards"] = benchmark::Counter(static_cast<double>(deckSize),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}

void composeDeck(benchmark::State& state) {
    const CardBoxes& deck = largeDeck();
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string text = composeCardText(deck);
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
    state.counters["cards"] = benchmark::Counter(static_cast<double>(deckSize),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(readDeck)->Unit(benchmark::kMillisecond);
BENCHMARK(composeDeck)->Unit(benchmark::kMillisecond);

#ifdef MQ_BENCH_FILES
void saveDeck(benchmark::State& state) {
    const CardBoxes& deck = largeDeck();
    const std::string path =
        (std::filesystem::temp_directory_path() / "mq_card_file_bench.mqf").string();
    StdFileSystem files;
    CountingBoxes boxes;
    for (auto _ : state) {
        writeDeckToFile(deck, path, files, boxes);
    }
    if (boxes.shown != 0) {
        state.SkipWithError("saving showed a box");
    }
    std::error_code ignored;
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path, ignored)));
    std::filesystem::remove(path, ignored);
    state.counters["cards"] = benchmark::Counter(static_cast<double>(deckSize),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(saveDeck)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
