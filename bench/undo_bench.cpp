// Move and Delete on the 100,000-card deck through the controller, beside their
// Undo and Redo: each step keeps only what it changed, so taking it back or making
// it again should cost about what the step did.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/BenchDeck.h"
#include "cardfile/CardWriter.h"
#include "fakes/FakeCaseFolding.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialog.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakeRandom.h"
#include "fakes/FakeRecentStore.h"
#include "fakes/FakeRecoveryPlace.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeStrings.h"
#include "view/CommandDispatch.h"
#include "view/MQMainView.h"

namespace {

constexpr int deckSize = 100000;
constexpr const char* deckPath = "C:\\cards\\large.mqf";

// The controller with the large deck open, box 1 selected.
struct OpenDeck {
    OpenDeck() {
        dialog.commandSink = [this](int id) { dispatchCommand(view, dialog, id); };
        view.onInitDialog(dialog);
        files.files[deckPath] = composeCardText(*makeBenchDeck(deckSize));
        fileDialogs.openWillChoose(deckPath);
        press(ids::openItem);
    }
    void press(int id) { dispatchCommand(view, dialog, id); }
    void editMode() {
        press(ids::editItem);
        boxes.clear();
    }

    FakeDialog dialog;
    FakeMessageBoxes boxes;
    FakeFileSystem files;
    FakeFileDialogs fileDialogs;
    FakeStrings strings;
    FakeCaseFolding caseFolding;
    FakeRecentStore recentStore;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeRandom random;
    FakeRecoveryPlace recovery{files};
    Platform platform{boxes, files,    fileDialogs, strings, caseFolding,
                      clock, settings, random,      recovery};
    MQMainView view{platform, recentStore};
};

OpenDeck& openDeck() {
    static OpenDeck deck;
    return deck;
}

// Times one part of a step's round: the step, its undo or its redo; the rest of
// the round puts the deck back untimed.
enum class Part { step, undo, redo };

void timeRound(benchmark::State& state, int stepId, bool editing, Part part) {
    OpenDeck& deck = openDeck();
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

void BM_Move(benchmark::State& state) { timeRound(state, ids::moveButton, false, Part::step); }
void BM_MoveUndo(benchmark::State& state) { timeRound(state, ids::moveButton, false, Part::undo); }
void BM_MoveRedo(benchmark::State& state) { timeRound(state, ids::moveButton, false, Part::redo); }
void BM_Delete(benchmark::State& state) { timeRound(state, ids::deleteItem, true, Part::step); }
void BM_DeleteUndo(benchmark::State& state) { timeRound(state, ids::deleteItem, true, Part::undo); }
void BM_DeleteRedo(benchmark::State& state) { timeRound(state, ids::deleteItem, true, Part::redo); }

}  // namespace

BENCHMARK(BM_Move)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveUndo)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveRedo)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Delete)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteUndo)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteRedo)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
