// Reading, freeing, composing and saving a deck of 100,000 cards, as a code page
// 1252 file and as a UTF-8 file, side by side with a general XML parser reading the
// same deck as XML. Besides the benchmark
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
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <utility>

#include "bench/BenchDeck.h"
#include "cardfile/CardFileText.h"
#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "fakes/FakeMessageBoxes.h"
#include "model/CardBoxes.h"
#include "tools/mqdeck/StdFileSystem.h"

namespace {

constexpr int deckSize = 100000;

const char* kindName(CardEncoding kind) { return kind == CardEncoding::utf8 ? "UTF-8" : "cp1252"; }

const CardBoxes& generatedDeck() {
    static const std::unique_ptr<CardBoxes> deck = makeBenchDeck(deckSize);
    return *deck;
}

// The deck's file in either kind: code page 1252 as it always was saved, or UTF-8.
const std::string& fileText(CardEncoding kind) {
    static const std::string cp1252 = composeCardText(generatedDeck(), CardEncoding::cp1252);
    static const std::string utf8 = composeCardText(generatedDeck(), CardEncoding::utf8);
    return kind == CardEncoding::utf8 ? utf8 : cp1252;
}

// A file whose bytes are already in memory, so that reading measures the work
// after the system's copy, which the read still makes.
class MemoryFile : public InputFile {
public:
    explicit MemoryFile(std::string_view bytes) : bytes_(bytes) {}

    std::uint32_t size() override { return static_cast<std::uint32_t>(bytes_.size()); }

    bool read(std::string& out, std::uint32_t count, ErrorCode& /*error*/) override {
        const std::string_view taken = bytes_.substr(0, count);
        out.append(taken);
        bytes_.remove_prefix(taken.size());
        return true;
    }

private:
    std::string_view bytes_;
};

// As the program opens a card file: decoded as it is read, then parsed.
void readFile(CardBoxes& deck, InputFile& file, MessageBoxes& boxes) {
    CardFileText text;
    ErrorCode error = 0;
    readCardFileText(file, text, error);
    readCardText(deck, std::move(text.text), boxes);
    deck.setEncoding(text.encoding);
}

std::unique_ptr<CardBoxes> readFromMemory(CardEncoding kind, MessageBoxes& boxes) {
    auto deck = std::make_unique<CardBoxes>();
    MemoryFile file(fileText(kind));
    readFile(*deck, file, boxes);
    return deck;
}

// The deck as the program holds it after opening the file of that kind.
CardBoxes& readBack(CardEncoding kind) {
    static const auto read = [](CardEncoding readKind) {
        FakeMessageBoxes boxes;
        return readFromMemory(readKind, boxes);
    };
    static const std::unique_ptr<CardBoxes> cp1252 = read(CardEncoding::cp1252);
    static const std::unique_ptr<CardBoxes> utf8 = read(CardEncoding::utf8);
    return kind == CardEncoding::utf8 ? *utf8 : *cp1252;
}

void countBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

void readDeck(benchmark::State& state, CardEncoding kind) {
    fileText(kind);  // generated and composed before the clock runs
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        auto deck = readFromMemory(kind, boxes);
        benchmark::DoNotOptimize(deck.get());
        state.PauseTiming();
        if (deck->encoding() != kind) {
            state.SkipWithError("the file was read as the other kind");
        }
        deck.reset();
        state.ResumeTiming();
    }
    if (boxes.count() != 0) {
        state.SkipWithError("the reader showed a box");
    }
    countBytes(state, fileText(kind).size());
}

void freeDeck(benchmark::State& state) {
    fileText(CardEncoding::cp1252);
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        state.PauseTiming();
        auto deck = readFromMemory(CardEncoding::cp1252, boxes);
        state.ResumeTiming();
        deck.reset();
    }
}

void composeDeck(benchmark::State& state, CardEncoding kind) {
    const CardBoxes& deck = readBack(kind);
    for (auto _ : state) {
        const std::string text = composeCardText(deck);
        benchmark::DoNotOptimize(text.data());
    }
    if (composeCardText(deck) != fileText(kind)) {
        state.SkipWithError("the deck was not composed into the file it was read from");
    }
    countBytes(state, fileText(kind).size());
}

// Of the UTF-8 texts the deck holds, so the same bytes as a UTF-8 file without its mark.
void plainSerialise(benchmark::State& state) {
    const std::size_t size = fileText(CardEncoding::utf8).size();
    for (auto _ : state) {
        const std::string text = plainSerialise(readBack(CardEncoding::utf8), size);
        benchmark::DoNotOptimize(text.data());
    }
    countBytes(state, size);
}

void saveDeck(benchmark::State& state, CardEncoding kind) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "mq_card_file_bench.mqf").string();
    StdFileSystem files;
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        writeDeckToFile(readBack(kind), path, files, boxes);
    }
    if (boxes.count() != 0 || readBack(kind).encoding() != kind) {
        state.SkipWithError("saving showed a box or changed the deck's kind");
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    countBytes(state, fileText(kind).size());
}

// Parses the deck as XML and visits every field, converting the two numbers.
void pugixml(benchmark::State& state) {
    static const std::string xml = deckAsXml(readBack(CardEncoding::utf8));
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

BENCHMARK_CAPTURE(readDeck, cp1252, CardEncoding::cp1252)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readDeck, utf8, CardEncoding::utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(freeDeck)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(composeDeck, cp1252, CardEncoding::cp1252)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(composeDeck, utf8, CardEncoding::utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(plainSerialise)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(saveDeck, cp1252, CardEncoding::cp1252)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(saveDeck, utf8, CardEncoding::utf8)->Unit(benchmark::kMillisecond);
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
        for (const char* name :
             {"readDeck/cp1252", "readDeck/utf8", "freeDeck", "composeDeck/cp1252",
              "composeDeck/utf8", "saveDeck/cp1252", "saveDeck/utf8"}) {
            if (xml > 0 && time(name) > 0) {
                std::printf("  %-18s %7.1f ms  %5.2f x pugixml (pugixml %.2f x)\n", name,
                            time(name) * 1e3, time(name) / xml, xml / time(name));
            }
        }
        const double plain = time("plainSerialise");
        if (plain > 0) {
            std::printf("compose / plain serialise (%.1f ms): cp1252 %.2f, UTF-8 %.2f\n",
                        plain * 1e3, time("composeDeck/cp1252") / plain,
                        time("composeDeck/utf8") / plain);
        }
    }

private:
    std::map<std::string, double> seconds_;
};

double megabytes(double bytes) { return bytes / 1e6; }

// Reads the card file at `path` as the program does: decoded as it is read, then
// into a deck.
int readOnce(const char* path, bool reportMemory) {
    StdFileSystem files;
    ErrorCode error = 0;
    std::unique_ptr<InputFile> file = files.openForReading(path, error);
    if (!file) {
        std::fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    const double size = file->size();
    auto deck = std::make_unique<CardBoxes>();
    FakeMessageBoxes boxes;
    readFile(*deck, *file, boxes);
    std::size_t cards = 0;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        cards += deck->box(box).size();
    }
    std::printf("read %zu cards from %.1f MB (%s)\n", cards, megabytes(size),
                kindName(deck->encoding()));
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
    if ((mode == "--write-deck" || mode == "--write-deck-utf8") && argc == 4) {
        const CardEncoding kind =
            mode == "--write-deck" ? CardEncoding::cp1252 : CardEncoding::utf8;
        std::ofstream(argv[3], std::ios::binary)
            << composeCardText(*makeBenchDeck(std::atoi(argv[2])), kind);
        return 0;
    }
    if ((mode == "--read-once" || mode == "--peak-memory") && argc == 3) {
        return readOnce(argv[2], mode == "--peak-memory");
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        std::fputs(
            "helper modes: --write-deck CARDS PATH | --write-deck-utf8 CARDS PATH |\n"
            "              --read-once PATH | --peak-memory PATH\n",
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
