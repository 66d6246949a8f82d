// Reading, freeing, composing and saving a deck of 100,000 cards, side by side
// with a general XML parser reading the same deck as XML. Besides the benchmark
// run, helper modes write a generated deck and read one file once, for measuring
// instructions and peak memory from outside (see run.sh).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "bench/BenchDeck.h"
#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "fakes/FakeMessageBoxes.h"
#include "model/CardBoxes.h"
#include "tools/mqdeck/StdFileSystem.h"

namespace {

constexpr int deckSize = 100000;

const std::string& deckText() {
    static const std::string text = composeCardText(*makeBenchDeck(deckSize));
    return text;
}

// The deck as the program holds it after opening the file.
const CardBoxes& readBack() {
    static const std::unique_ptr<CardBoxes> deck = [] {
        auto read = std::make_unique<CardBoxes>();
        FakeMessageBoxes boxes;
        readCardText(*read, deckText(), boxes);
        return read;
    }();
    return *deck;
}

void countBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

void readDeck(benchmark::State& state) {
    const std::string& text = deckText();
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        auto deck = std::make_unique<CardBoxes>();
        readCardText(*deck, text, boxes);
        benchmark::DoNotOptimize(deck.get());
        state.PauseTiming();
        deck.reset();
        state.ResumeTiming();
    }
    if (boxes.count() != 0) {
        state.SkipWithError("the reader showed a box");
    }
    countBytes(state, text.size());
}

void freeDeck(benchmark::State& state) {
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        state.PauseTiming();
        auto deck = std::make_unique<CardBoxes>();
        readCardText(*deck, deckText(), boxes);
        state.ResumeTiming();
        deck.reset();
    }
}

void composeDeck(benchmark::State& state) {
    for (auto _ : state) {
        const std::string text = composeCardText(readBack());
        benchmark::DoNotOptimize(text.data());
    }
    countBytes(state, deckText().size());
}

void plainSerialise(benchmark::State& state) {
    for (auto _ : state) {
        const std::string text = plainSerialise(readBack(), deckText().size());
        benchmark::DoNotOptimize(text.data());
    }
    countBytes(state, deckText().size());
}

void saveDeck(benchmark::State& state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "mq_card_file_bench.mqf").string();
    StdFileSystem files;
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        writeDeckToFile(readBack(), path, files, boxes);
    }
    if (boxes.count() != 0) {
        state.SkipWithError("saving showed a box");
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    countBytes(state, deckText().size());
}

// Parses the deck as XML and visits every field, converting the two numbers.
void pugixml(benchmark::State& state) {
    static const std::string xml = deckAsXml(readBack());
    for (auto _ : state) {
        auto document = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result parsed =
            document->load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
        std::size_t fieldBytes = 0;
        long numbers = 0;
        for (const pugi::xml_node card : document->child("deck").children("card")) {
            fieldBytes += std::char_traits<char>::length(card.child_value("M"));
            numbers += std::atoi(card.child_value("S")) + std::atoi(card.child_value("N"));
            fieldBytes += std::char_traits<char>::length(card.child_value("Q"));
            fieldBytes += std::char_traits<char>::length(card.child_value("A"));
            fieldBytes += std::char_traits<char>::length(card.child_value("I"));
        }
        benchmark::DoNotOptimize(fieldBytes + static_cast<std::size_t>(numbers));
        if (!parsed) {
            state.SkipWithError(parsed.description());
        }
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    countBytes(state, xml.size());
}

BENCHMARK(readDeck)->Unit(benchmark::kMillisecond);
BENCHMARK(freeDeck)->Unit(benchmark::kMillisecond);
BENCHMARK(composeDeck)->Unit(benchmark::kMillisecond);
BENCHMARK(plainSerialise)->Unit(benchmark::kMillisecond);
BENCHMARK(saveDeck)->Unit(benchmark::kMillisecond);
BENCHMARK(pugixml)->Unit(benchmark::kMillisecond);

// Keeps the fastest time of each benchmark (over repetitions, when asked for) for the ratios
// printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) {
                continue;
            }
            // Processor time: other builds on a shared machine stretch the wall clock.
            const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            auto [at, added] = seconds_.emplace(run.run_name.function_name, seconds);
            if (!added && seconds < at->second) {
                at->second = seconds;
            }
        }
    }

    void printRatios() const {
        const auto time = [this](const char* name) {
            const auto at = seconds_.find(name);
            return at == seconds_.end() ? 0.0 : at->second;
        };
        const double xml = time("pugixml");
        std::printf(
            "\nprocessor time, as a ratio to pugixml's parse + walk of the deck as XML (%.1f "
            "ms):\n",
            xml * 1e3);
        for (const char* name : {"readDeck", "freeDeck", "composeDeck", "saveDeck"}) {
            if (xml > 0 && time(name) > 0) {
                std::printf("  %-12s %7.1f ms  %5.2f x pugixml\n", name, time(name) * 1e3,
                            time(name) / xml);
            }
        }
        if (time("plainSerialise") > 0) {
            std::printf("compose / plain serialise: %.2f\n",
                        time("composeDeck") / time("plainSerialise"));
        }
    }

private:
    std::map<std::string, double> seconds_;
};

std::string fileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double megabytes(double bytes) { return bytes / 1e6; }

// Reads the card file at `path` as the program does: whole, then into a deck.
int readOnce(const char* path, bool reportMemory) {
    std::string text = fileBytes(path);
    const double size = static_cast<double>(text.size());
    auto deck = std::make_unique<CardBoxes>();
    FakeMessageBoxes boxes;
    readCardText(*deck, std::move(text), boxes);
    std::size_t cards = 0;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        cards += deck->box(box).size();
    }
    std::printf("read %zu cards from %.1f MB\n", cards, megabytes(size));
    if (reportMemory) {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double peak = static_cast<double>(usage.ru_maxrss) * 1024.0;
        std::printf("peak resident memory of reading it: %.1f MB (%.2f x the file)\n",
                    megabytes(peak), peak / size);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc >= 3 ? argv[1] : "";
    if (mode == "--write-deck" && argc == 4) {
        std::ofstream(argv[3], std::ios::binary)
            << composeCardText(*makeBenchDeck(std::atoi(argv[2])));
        return 0;
    }
    if ((mode == "--read-once" || mode == "--peak-memory") && argc == 3) {
        return readOnce(argv[2], mode == "--peak-memory");
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        std::fputs(
            "helper modes: --write-deck CARDS PATH | --read-once PATH | --peak-memory PATH\n",
            stderr);
        return 2;
    }
    // The first touch of a fresh page can cost more than the work done on it (much
    // more in a virtual machine), and glibc hands large freed blocks back at once.
    // Keeping freed memory in the process makes every contender measure its work.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
