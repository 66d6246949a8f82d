// Merging two copies of a 100,000-card deck that were learned apart, 1,000
// changes on each side (Moves and Backs, typing, Inserts and Deletes, some of
// them on the same cards), three-way with the base and two-way without; and the
// copy of the deck kept as the base.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "cardfile/CardReader.h"
#include "fakes/FakeMessageBoxes.h"
#include "model/DeckMerge.h"

namespace {

constexpr int deckSize = 100000;
constexpr int changesPerSide = 1000;

// A card file of `deckSize` cards over the seven boxes, each card with a day, read
// as the program reads it, so that its cards refer into the file's text.
void readBase(CardBoxes& deck) {
    std::string text;
    for (int card = 0; card < deckSize; ++card) {
        const int box = card % CardBoxes::boxCount;
        text += "<C>\r\n<M>" + std::string(card < CardBoxes::boxCount ? "+" : "-") + "</M>\r\n<S>" +
                std::to_string(box) + "</S>\r\n<N>" +
                std::to_string(card / CardBoxes::boxCount + 1) + "</N>\r\n<Q>question " +
                std::to_string(card) + "</Q>\r\n<A>answer " + std::to_string(card) +
                "</A>\r\n<I>info</I>\r\n<D>2026-01-01</D>\r\n</C>\r\n";
    }
    FakeMessageBoxes boxes;
    readCardText(deck, std::move(text), boxes);
}

// The steps a learner takes, at random places: turning to a card and moving it
// up or back, typing into it, deleting it or inserting one before it.
void learn(CardBoxes& deck, unsigned seed, CalendarDay today) {
    std::mt19937 random(seed);
    deck.setToday(today);
    CardRef current = std::make_shared<Card>();
    for (int step = 0; step < changesPerSide; ++step) {
        const int box = 1 + static_cast<int>(random() % 5);
        if (deck.count(box) == 0) continue;
        deck.turnTo(box, random() % static_cast<std::size_t>(deck.count(box)), current);
        switch (random() % 10) {
            case 0:
                current->setAnswer("typed " + std::to_string(step));
                break;
            case 1:
                deck.removeFirst(box);
                break;
            case 2:
                deck.insertFirst(
                    std::make_shared<Card>("-", box, 0, "new " + std::to_string(seed + step),
                                           "answer", ""),
                    box);
                break;
            case 3:
                deck.moveBack(box, current);
                break;
            default:
                deck.moveUp(box, current);
        }
    }
}

struct Copies {
    CardBoxes base, mine, theirs;
    Copies() {
        readBase(base);
        readBase(mine);
        readBase(theirs);
        learn(mine, 1, 20500);
        learn(theirs, 2, 20501);
    }
};

const Copies& copies() {
    static const Copies made;
    return made;
}

void mergeThreeWay(benchmark::State& state) {
    const Copies& decks = copies();
    for (auto _ : state) {
        MergedDeck merged = mergeDecks(&decks.base, decks.mine, decks.theirs);
        benchmark::DoNotOptimize(merged.deck.count(1));
        state.SetLabel(mergeSummaryLine(merged.summary));
    }
}
BENCHMARK(mergeThreeWay)->Unit(benchmark::kMillisecond);

void mergeTwoWay(benchmark::State& state) {
    const Copies& decks = copies();
    for (auto _ : state) {
        MergedDeck merged = mergeDecks(nullptr, decks.mine, decks.theirs);
        benchmark::DoNotOptimize(merged.deck.count(1));
        state.SetLabel(mergeSummaryLine(merged.summary));
    }
}
BENCHMARK(mergeTwoWay)->Unit(benchmark::kMillisecond);

// What keeping the base costs at each read and save of the card file.
void copyTheBase(benchmark::State& state) {
    const Copies& decks = copies();
    for (auto _ : state) {
        benchmark::DoNotOptimize(copyOfDeck(decks.base)->count(1));
    }
}
BENCHMARK(copyTheBase)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
