// Reading, freeing, composing and saving a deck of 100,000 cards of three kinds
// (plain ASCII and Western texts saved as code page 1252, texts in several scripts
// saved as UTF-8), side by side with a general XML parser reading the same deck as
// XML and with a plain serialisation of it. Besides the benchmark run, helper modes
// write a generated deck and read one file once, for measuring instructions and
// peak memory from outside (see run.sh).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <array>
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

const char* kindName(BenchTexts kind) {
    switch (kind) {
        case BenchTexts::ascii:
            return "ascii";
        case BenchTexts::utf8:
            return "utf8";
        case BenchTexts::cp1252:
            break;
    }
    return "cp1252";
}

const char* encodingName(CardEncoding encoding) {
    return encoding == CardEncoding::utf8 ? "UTF-8" : "cp1252";
}

// A deck of one kind of texts, with a day on every card or on none: the day is the
// one field a card may lack, so both layouts of a card block are measured.
struct Variant {
    BenchTexts kind;
    BenchDays days;
};

constexpr Variant allVariants[] = {
    {BenchTexts::ascii, BenchDays::every},  {BenchTexts::ascii, BenchDays::none},
    {BenchTexts::cp1252, BenchDays::every}, {BenchTexts::cp1252, BenchDays::none},
    {BenchTexts::utf8, BenchDays::every},   {BenchTexts::utf8, BenchDays::none}};
constexpr std::size_t variantCount = std::size(allVariants);

std::string variantName(Variant variant) {
    return std::string(kindName(variant.kind)) +
           (variant.days == BenchDays::every ? "/days" : "/nodays");
}

// The file each kind is saved as: ASCII and Western texts fit code page 1252.
CardEncoding encodingOf(BenchTexts kind) {
    return kind == BenchTexts::utf8 ? CardEncoding::utf8 : CardEncoding::cp1252;
}

std::size_t indexOf(Variant variant) {
    return static_cast<std::size_t>(variant.kind) * 2 + (variant.days == BenchDays::none ? 1 : 0);
}

// Made on first use: a run of one benchmark makes only the decks it needs.
template <typename T, typename Make>
const T& once(std::array<std::unique_ptr<T>, variantCount>& made, Variant variant, Make make) {
    std::unique_ptr<T>& slot = made[indexOf(variant)];
    if (!slot) {
        slot = make();
    }
    return *slot;
}

const CardBoxes& generatedDeck(Variant variant) {
    static std::array<std::unique_ptr<CardBoxes>, variantCount> decks;
    return once(decks, variant,
                [variant] { return makeBenchDeck(deckSize, variant.kind, variant.days); });
}

// The deck's file as the program saves it.
const std::string& fileText(Variant variant) {
    static std::array<std::unique_ptr<std::string>, variantCount> texts;
    return once(texts, variant, [variant] {
        return std::make_unique<std::string>(composeCardText(generatedDeck(variant)));
    });
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

// As the program opens a card file: read, then parsed. A code page 1252 deck's
// texts are decoded when first asked for.
void readFile(CardBoxes& deck, InputFile& file, MessageBoxes& boxes) {
    CardFileText text;
    ErrorCode error = 0;
    readCardFileText(file, text, error);
    readCardFile(deck, std::move(text), boxes);
}

std::unique_ptr<CardBoxes> readFromMemory(Variant variant, MessageBoxes& boxes) {
    auto deck = std::make_unique<CardBoxes>();
    MemoryFile file(fileText(variant));
    readFile(*deck, file, boxes);
    return deck;
}

// The deck as the program holds it after opening the file of that variant.
CardBoxes& readBack(Variant variant) {
    static std::array<std::unique_ptr<CardBoxes>, variantCount> decks;
    return const_cast<CardBoxes&>(once(decks, variant, [variant] {
        FakeMessageBoxes boxes;
        return readFromMemory(variant, boxes);
    }));
}

void countBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

void readDeck(benchmark::State& state, Variant variant) {
    fileText(variant);  // generated and composed before the clock runs
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        auto deck = readFromMemory(variant, boxes);
        benchmark::DoNotOptimize(deck.get());
        state.PauseTiming();
        if (deck->encoding() != encodingOf(variant.kind)) {
            state.SkipWithError("the file was read as the other kind");
        }
        deck.reset();
        state.ResumeTiming();
    }
    if (boxes.count() != 0) {
        state.SkipWithError("the reader showed a box");
    }
    countBytes(state, fileText(variant).size());
}

// Asks for every text, as a Find through the whole deck does: a code page 1252
// deck decodes them all.
// Not inlined, so that callgrind can count it apart.
__attribute__((noinline)) std::size_t lookAtEveryText(const CardBoxes& deck) {
    std::size_t bytes = 0;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        for (const CardRef& card : deck.box(box)) {
            bytes += card->getQuestion().size() + card->getAnswer().size() + card->getInfo().size();
        }
    }
    return bytes;
}

// Reading, and then every text decoded: what Open and a first Find through the
// whole deck cost together.
void readAndLook(benchmark::State& state, Variant variant) {
    fileText(variant);
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        auto deck = readFromMemory(variant, boxes);
        benchmark::DoNotOptimize(lookAtEveryText(*deck));
        state.PauseTiming();
        deck.reset();
        state.ResumeTiming();
    }
    countBytes(state, fileText(variant).size());
}

// Composing a deck whose every text was decoded: the cards nobody changed still
// go back as the file held them.
void composeLookedAt(benchmark::State& state, Variant variant) {
    FakeMessageBoxes boxes;
    const auto deck = readFromMemory(variant, boxes);
    lookAtEveryText(*deck);
    for (auto _ : state) {
        const std::string text = composeCardText(*deck);
        benchmark::DoNotOptimize(text.data());
    }
    if (composeCardText(*deck) != fileText(variant)) {
        state.SkipWithError("the deck was not composed into the file it was read from");
    }
    countBytes(state, fileText(variant).size());
}

void freeDeck(benchmark::State& state) {
    const Variant variant{BenchTexts::cp1252, BenchDays::every};
    fileText(variant);
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        state.PauseTiming();
        auto deck = readFromMemory(variant, boxes);
        state.ResumeTiming();
        deck.reset();
    }
}

void composeDeck(benchmark::State& state, Variant variant) {
    const CardBoxes& deck = readBack(variant);
    for (auto _ : state) {
        const std::string text = composeCardText(deck);
        benchmark::DoNotOptimize(text.data());
    }
    if (composeCardText(deck) != fileText(variant)) {
        state.SkipWithError("the deck was not composed into the file it was read from");
    }
    countBytes(state, fileText(variant).size());
}

// The same bytes as the file, made the plain way from the texts the deck holds.
void plainSerialise(benchmark::State& state, Variant variant) {
    const CardBoxes& deck = readBack(variant);
    const std::size_t size = fileText(variant).size();
    for (auto _ : state) {
        const std::string text = plainSerialise(deck, size, encodingOf(variant.kind));
        benchmark::DoNotOptimize(text.data());
    }
    if (plainSerialise(deck, size, encodingOf(variant.kind)) != fileText(variant)) {
        state.SkipWithError("the plain serialisation is not the file");
    }
    countBytes(state, size);
}

// The deck's UTF-8 texts serialised as they are held, without converting them: the
// yardstick of composing, what composing a code page 1252 file (the ASCII deck's
// too) would cost if converting were free. For a UTF-8 file it is the plain
// serialisation.
void plainTexts(benchmark::State& state, Variant variant) {
    const CardBoxes& deck = readBack(variant);
    const std::size_t size = plainSerialise(deck, 0, CardEncoding::utf8).size();
    for (auto _ : state) {
        const std::string text = plainSerialise(deck, size, CardEncoding::utf8);
        benchmark::DoNotOptimize(text.data());
    }
}

void saveDeck(benchmark::State& state, Variant variant) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "mq_card_file_bench.mqf").string();
    StdFileSystem files;
    FakeMessageBoxes boxes;
    for (auto _ : state) {
        writeDeckToFile(readBack(variant), path, files, boxes);
    }
    if (boxes.count() != 0 || readBack(variant).encoding() != encodingOf(variant.kind)) {
        state.SkipWithError("saving showed a box or changed the deck's kind");
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    countBytes(state, fileText(variant).size());
}

// Parses the deck of that kind as (UTF-8) XML and visits every field, converting
// the two numbers; the day is visited as a text.
void pugixml(benchmark::State& state, Variant variant) {
    const std::string xml = deckAsXml(readBack(variant));
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
            fieldBytes += std::char_traits<char>::length(card.child_value("D"));
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

// Each figure for each variant, named "figure/kind/days" or "figure/kind/nodays".
void registerBenchmarks() {
    using Figure = void (*)(benchmark::State&, Variant);
    const std::pair<const char*, Figure> figures[] = {{"readDeck", readDeck},
                                                      {"composeDeck", composeDeck},
                                                      {"plainSerialise", plainSerialise},
                                                      {"saveDeck", saveDeck},
                                                      {"pugixml", pugixml},
                                                      {"readAndLook", readAndLook},
                                                      {"composeLookedAt", composeLookedAt}};
    for (const auto& [name, figure] : figures) {
        for (const Variant variant : allVariants) {
            benchmark::RegisterBenchmark((std::string(name) + "/" + variantName(variant)).c_str(),
                                         figure, variant)
                ->Unit(benchmark::kMillisecond);
        }
    }
    for (const Variant variant : allVariants) {
        if (encodingOf(variant.kind) == CardEncoding::cp1252) {
            benchmark::RegisterBenchmark(("plainTexts/" + variantName(variant)).c_str(), plainTexts,
                                         variant)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("freeDeck", freeDeck)->Unit(benchmark::kMillisecond);
}

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
            auto [at, added] = seconds_.emplace(run.benchmark_name(), seconds);
            if (!added && seconds < at->second) {
                at->second = seconds;
            }
        }
    }

    void printRatios() const {
        const auto time = [this](const std::string& name) {
            const auto at = seconds_.find(name);
            return at == seconds_.end() ? 0.0 : at->second;
        };
        std::printf(
            "\nfastest processor time; reading and saving as a ratio to pugixml's parse + walk\n"
            "of the same deck as XML, composing to a plain serialisation of the same bytes:\n");
        for (const Variant variant : allVariants) {
            const std::string name = variantName(variant);
            const double xml = time("pugixml/" + name);
            const double plain = time("plainSerialise/" + name);
            std::printf("%s (%.1f MB, pugixml %.1f ms, plain serialise %.1f ms):\n", name.c_str(),
                        static_cast<double>(fileText(variant).size()) / 1e6, xml * 1e3,
                        plain * 1e3);
            for (const char* what : {"readDeck", "readAndLook", "saveDeck"}) {
                const double seconds = time(std::string(what) + "/" + name);
                if (xml > 0 && seconds > 0) {
                    std::printf("  %-15s %7.1f ms  %5.2f x pugixml (pugixml %.2f x)\n", what,
                                seconds * 1e3, seconds / xml, xml / seconds);
                }
            }
            for (const char* composing : {"composeDeck", "composeLookedAt"}) {
                const double compose = time(std::string(composing) + "/" + name);
                if (plain > 0 && compose > 0) {
                    std::printf("  %-15s %7.1f ms  %5.2f x plain serialise", composing,
                                compose * 1e3, compose / plain);
                    const double texts = encodingOf(variant.kind) == CardEncoding::utf8
                                             ? plain
                                             : time("plainTexts/" + name);
                    if (texts > 0) {
                        std::printf(" (%.2f x its texts serialised unconverted, %.1f ms)",
                                    compose / texts, texts * 1e3);
                    }
                    std::printf("\n");
                }
            }
        }
        if (time("freeDeck") > 0) {
            std::printf("freeDeck (cp1252/days) %.1f ms\n", time("freeDeck") * 1e3);
        }
    }

private:
    std::map<std::string, double> seconds_;
};

double megabytes(double bytes) { return bytes / 1e6; }

// Reads the card file at `path` as the program does, then (only counting
// instructions, not memory) asks for every text.
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
                encodingName(deck->encoding()));
    if (!reportMemory) {
        std::printf("its texts hold %zu bytes\n", lookAtEveryText(*deck));
    } else {
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
    // --write-deck[-KIND][-days|-nodays]: the generated deck as the program saves it;
    // without a suffix the cards of boxes 1 to 6 have days.
    std::map<std::string, std::pair<BenchTexts, BenchDays>> writeModes;
    for (const auto& [kind, name] :
         {std::pair{BenchTexts::ascii, "-ascii"}, std::pair{BenchTexts::cp1252, ""},
          std::pair{BenchTexts::utf8, "-utf8"}}) {
        const std::string base = std::string("--write-deck") + name;
        writeModes[base] = {kind, BenchDays::learned};
        writeModes[base + "-days"] = {kind, BenchDays::every};
        writeModes[base + "-nodays"] = {kind, BenchDays::none};
    }
    if (const auto write = writeModes.find(mode); write != writeModes.end() && argc == 4) {
        std::ofstream(argv[3], std::ios::binary) << composeCardText(
            *makeBenchDeck(std::atoi(argv[2]), write->second.first, write->second.second));
        return 0;
    }
    if ((mode == "--read-once" || mode == "--peak-memory") && argc == 3) {
        return readOnce(argv[2], mode == "--peak-memory");
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        std::fputs(
            "helper modes: --write-deck[-ascii|-utf8][-days|-nodays] CARDS PATH |\n"
            "              --read-once PATH | --peak-memory PATH\n",
            stderr);
        return 2;
    }
    // The first touch of a fresh page can cost more than the work done on it (much
    // more in a virtual machine), and glibc hands large freed blocks back at once.
    // Keeping freed memory in the process makes every contender measure its work.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    registerBenchmarks();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
