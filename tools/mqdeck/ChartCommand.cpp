// mqdeck chart: the progress charts as an SVG picture.
#include <optional>
#include <ostream>
#include <string>

#include "chart/ChartSvg.h"
#include "model/Schedule.h"
#include "tools/mqdeck/Command.h"
#include "tools/mqdeck/TodayOption.h"
#include "tools/mqdeck/ToolFiles.h"

namespace {

int runChart(const CommandLine& line, ToolStreams& io) {
    std::string misuse;
    const std::optional<CalendarDay> today = todayOption(line, io.clock, misuse);
    if (!today) {
        io.err << "mqdeck: chart: " << misuse << '\n' << chartCommand.usage;
        return exitUsage;
    }
    CardBoxes deck;
    if (!readDeckFile(io.files, line.files[0], deck, io.err)) {
        return exitFailed;
    }
    // As for stats: the program's box days are out of the tool's reach.
    const ProgressData data = progressData(deck, BoxDays{}, *today, deckNameOf(line.files[0]));
    return saveTextFile(io.files, line.files[1], progressSvg(data), io.err) ? exitDone : exitFailed;
}

}  // namespace

const Command chartCommand{
    "chart",
    "usage: mqdeck chart [--today YYYY-MM-DD] FILE OUT.svg\n",
    "Draws the progress charts of the card file FILE into the SVG picture OUT.svg,\n"
    "as the program's Progress window shows them: the cards in each box, the cards\n"
    "falling due on each of the next 30 days (with the program's default box days,\n"
    "as for stats), and the cards moved up, sent back and drawn new on each of the\n"
    "last 30 days.\n"
    "  --today YYYY-MM-DD  draw as of this day instead of the computer's local date\n",
    {{"--today", true}},
    2,
    2,
    runChart,
};
