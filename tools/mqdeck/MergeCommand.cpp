// mqdeck merge: two copies of a deck learned apart, made one.
#include <optional>
#include <ostream>
#include <string>

#include "model/DeckMerge.h"
#include "tools/mqdeck/Command.h"
#include "tools/mqdeck/ToolFiles.h"

namespace {

// A file that holds no card file fails rather than counting as a deck without
// cards: merged with a base, that would delete every card the other side left
// alone.
bool readCopy(ToolStreams& io, const std::string& path, CardBoxes& deck) {
    return readDeckFile(io.files, path, deck, io.err, false);
}

int runMerge(const CommandLine& line, ToolStreams& io) {
    const bool dryRun = line.has("--dry-run");
    if (!dryRun && !line.has("-o")) {
        io.err << "mqdeck: merge: -o OUT names the merged card file (or --dry-run)\n"
               << mergeCommand.usage;
        return exitUsage;
    }
    CardBoxes mine;
    CardBoxes theirs;
    std::optional<CardBoxes> base;
    if (line.has("--base") && !readCopy(io, line.value("--base"), base.emplace())) {
        return exitFailed;
    }
    if (!readCopy(io, line.files[0], mine) || !readCopy(io, line.files[1], theirs)) {
        return exitFailed;
    }
    MergedDeck merged = mergeDecks(base ? &*base : nullptr, mine, theirs);
    if (!dryRun && !saveDeckFile(io.files, line.value("-o"), merged.deck, io.err)) {
        return exitFailed;
    }
    io.out << mergeSummaryLine(merged.summary) << '\n';
    return exitDone;
}

}  // namespace

const Command mergeCommand{
    "merge",
    "usage: mqdeck merge MINE THEIRS [--base BASE] -o OUT [--dry-run]\n",
    "Merges two copies of a deck that were learned apart, MINE (this computer's)\n"
    "and THEIRS (the other's), card by card, saves the merged deck to OUT with the\n"
    "program's safe save and prints what it did in one line. A card learned on one\n"
    "side keeps that learning; learned on both, the later day wins (the same day:\n"
    "MINE). Cards typed differently on both sides are both kept, THEIRS behind\n"
    "MINE's. Added cards are kept. Each box takes THEIRS's order.\n"
    "  --base BASE  the deck as both copies had it before they went apart (the\n"
    "               last synced file); with it a card deleted on one side and left\n"
    "               alone on the other is deleted, and the history adds what each\n"
    "               side learned. Without it no card is deleted, and each day of\n"
    "               the history keeps the larger counts\n"
    "  -o OUT       the card file to save the merged deck to (may be MINE)\n"
    "  --dry-run    only print the line, save nothing\n",
    {{"--base", true}, {"-o", true}, {"--dry-run", false}},
    2,
    2,
    runMerge,
};
