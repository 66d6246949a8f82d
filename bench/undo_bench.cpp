// Move and Delete on the 100,000-card deck through the controller, beside their
// Undo and Redo: each step keeps only what it changed, so taking it back or making
// it again should cost about what the step did. Every step also goes to the
// recovery record, so Move is timed with the record off too, with the bytes a step
// adds to it; and the first change after a save, which writes the record's base.
// Then Next, Move and Back with Due Cards Only on, where each step also walks to
// the next due card and Move and Back count what is due again.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/BenchDeck.h"
#include "cardfile/CardWriter.h"
#include "cardfile/FileIdentity.h"
#include "fakes/FakeDialog.h"
#include "fakes/FakeServices.h"
#include "model/Schedule.h"
#include "view/CommandDispatch.h"
#include "view/MQMainView.h"

namespace {

constexpr int deckSize = 100000;
constexpr const char* deckPath = "C:\\cards\\large.mqf";

// Dates boxes 1 and 2 so that, with their cards resting a day, one card in a
// hundred is due: the others entered their box today.
void dateForDueSteps(CardBoxes& deck, CalendarDay today) {
    for (int box = 1; box <= 2; ++box) {
        const CardBoxes::Box& cards = deck.box(box);
        for (std::size_t index = 0; index < cards.size(); ++index) {
            cards[index]->setDay(index % 100 == 50 ? today - 3 : today);
        }
    }
}

// The controller with the large deck open, box 1 selected; with `dueOnly`, boxes
// 1 and 2 dated as above and Due Cards Only on.
struct OpenDeck : FakeServices {
    explicit OpenDeck(bool dueOnly = false, bool record = true) {
        if (dueOnly) settings.kept["Box1Days"] = 1;
        // Without a folder for it, the program keeps no record.
        if (!record) recovery.failure = 5;
        dialog.commandSink = [this](int id) { dispatchCommand(view, dialog, id); };
        view.onInitDialog(dialog);
        const std::unique_ptr<CardBoxes> deck = makeBenchDeck(deckSize);
        if (dueOnly) dateForDueSteps(*deck, clock.today());
        files.files[deckPath] = composeCardText(*deck);
        fileDialogs.openWillChoose(deckPath);
        press(ids::openItem);
        if (dueOnly) press(ids::dueOnlyItem);
    }
    void press(int id) { dispatchCommand(view, dialog, id); }
    void editMode() {
        press(ids::editItem);
        boxes.clear();
    }

    FakeDialog dialog;
    MQMainView view{platform, recentStore};
};

OpenDeck& openDeck() {
    static OpenDeck deck;
    static const bool recording = [] {
        // The record begins with the first change; steps after it are timed.
        deck.press(ids::moveButton);
        deck.press(ids::undoItem);
        return true;
    }();
    (void)recording;
    return deck;
}

OpenDeck& dueDeck() {
    static OpenDeck deck(true);
    return deck;
}

OpenDeck& unrecordedDeck() {
    static OpenDeck deck(false, false);
    return deck;
}

std::size_t recordBytes(OpenDeck& deck) {
    for (const auto& file : deck.files.files) {
        if (file.first.rfind(deck.recovery.path, 0) == 0 && file.first.back() == 'r') {
            return file.second.size();
        }
    }
    return 0;
}

// Times one part of a step's round: the step, its undo or its redo; the rest of
// the round puts the deck back untimed.
enum class Part { step, undo, redo };

void timeRound(benchmark::State& state, int stepId, bool editing, Part part,
               OpenDeck& deck = openDeck()) {
    if (editing) deck.editMode();
    const auto timed = [&](Part now, int id) {
        if (now != part) return deck.press(id);
        const auto start = std::chrono::steady_clock::now();
        deck.press(id);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    };
    for (auto _ : state) {
        timed(Part::step, stepId);
        timed(Part::undo, ids::undoItem);
        timed(Part::redo, ids::redoItem);
        deck.press(ids::undoItem);
    }
    if (editing) deck.press(ids::editItem);
    if (deck.view.deck()->count(1) == 0) state.SkipWithError("box 1 ran empty");
}

void BM_Move(benchmark::State& state) {
    const std::size_t before = recordBytes(openDeck());
    timeRound(state, ids::moveButton, false, Part::step);
    // A round is the step, its undo, redo and undo: four entries.
    state.counters["record bytes/step"] =
        static_cast<double>(recordBytes(openDeck()) - before) / (4.0 * state.iterations());
}
void BM_MoveWithoutRecord(benchmark::State& state) {
    timeRound(state, ids::moveButton, false, Part::step, unrecordedDeck());
}
// After a save the record is gone; the first change writes the deck as its base.
void BM_FirstMoveAfterSave(benchmark::State& state) {
    OpenDeck& deck = openDeck();
    for (auto _ : state) {
        state.PauseTiming();
        deck.boxes.answer(IDYES);
        deck.press(ids::saveItem);
        state.ResumeTiming();
        deck.press(ids::moveButton);
        state.PauseTiming();
        deck.press(ids::undoItem);
        state.ResumeTiming();
    }
}
// What checking a saved card file's content costs: the hash of its 27 MB.
void BM_ContentHash(benchmark::State& state) {
    const std::string& text = openDeck().files.files[deckPath];
    for (auto _ : state) benchmark::DoNotOptimize(contentHash(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
void BM_MoveUndo(benchmark::State& state) { timeRound(state, ids::moveButton, false, Part::undo); }
void BM_MoveRedo(benchmark::State& state) { timeRound(state, ids::moveButton, false, Part::redo); }
void BM_Delete(benchmark::State& state) { timeRound(state, ids::deleteItem, true, Part::step); }
void BM_DeleteUndo(benchmark::State& state) { timeRound(state, ids::deleteItem, true, Part::undo); }
void BM_DeleteRedo(benchmark::State& state) { timeRound(state, ids::deleteItem, true, Part::redo); }

// Times a step in Due Cards Only in `box`; Move and Back are taken back untimed, so
// every step starts from the same due card. Next needs no taking back: the box is a
// ring. Back is off in box 1, whose cards it would leave where they are.
void timeDueStep(benchmark::State& state, int stepId, int box) {
    OpenDeck& deck = dueDeck();
    deck.press(ids::box0Item + box);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        deck.press(stepId);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (stepId != ids::nextButton) deck.press(ids::undoItem);
    }
    const CardRef& shown = deck.view.deck()->box(box).front();
    if (!deck.dialog.isChecked(ids::box0Item + box) ||
        !isDue(*shown, box, BoxDays{{1, 1, 3, 7, 14}}, deck.clock.today())) {
        state.SkipWithError("the box does not show a due card");
    }
    deck.press(ids::box0Item + 1);
}

void BM_DueNext(benchmark::State& state) { timeDueStep(state, ids::nextButton, 1); }
void BM_DueMove(benchmark::State& state) { timeDueStep(state, ids::moveButton, 1); }
void BM_DueBack(benchmark::State& state) { timeDueStep(state, ids::backButton, 2); }

}  // namespace

BENCHMARK(BM_Move)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveWithoutRecord)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstMoveAfterSave)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ContentHash)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveUndo)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveRedo)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Delete)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteUndo)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteRedo)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DueNext)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DueMove)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DueBack)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
