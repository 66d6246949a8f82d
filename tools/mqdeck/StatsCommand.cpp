// mqdeck stats: how full each box is.
#include <ostream>

#include "tools/mqdeck/Command.h"
#include "tools/mqdeck/DeckStats.h"
#include "tools/mqdeck/TerminalWidth.h"
#include "tools/mqdeck/ToolFiles.h"

namespace {

int runStats(const CommandLine& line, ToolStreams& io) {
    CardBoxes deck;
    if (!readDeckFile(io.files, line.files[0], deck, io.err)) {
        return exitFailed;
    }
    io.out << formatStats(deck, terminalWidth());
    return exitDone;
}

}  // namespace

const Command statsCommand{
    "stats",
    "usage: mqdeck stats FILE\n",
    "Counts the cards in each box of the card file FILE, with a bar of \"#\" per box\n"
    "scaled to the terminal's width (COLUMNS when set, 80 when not a terminal), and\n"
    "the cards in boxes 1 to 6 (learning) and in box 6 (learned).\n",
    {},
    1,
    1,
    runStats,
};
