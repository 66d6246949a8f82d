// mqdeck stats: how full each box is, and what is due.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/CalendarDay.h"
#include "model/Schedule.h"
#include "platform/WholeNumber.h"
#include "tools/mqdeck/Command.h"
#include "tools/mqdeck/DeckStats.h"
#include "tools/mqdeck/TerminalWidth.h"
#include "tools/mqdeck/TodayOption.h"
#include "tools/mqdeck/ToolFiles.h"

namespace {

constexpr int longestForecast = 3650;

std::optional<int> forecastDays(const std::string& value) {
    const std::optional<std::uint32_t> days = parseWholeNumber(value, 4);
    return days && *days >= 1 && *days <= longestForecast ? std::optional<int>(*days)
                                                          : std::nullopt;
}

int runStats(const CommandLine& line, ToolStreams& io) {
    std::string misuse;
    const std::optional<CalendarDay> today = todayOption(line, io.clock, misuse);
    const std::optional<int> forecast =
        line.has("--forecast") ? forecastDays(line.value("--forecast")) : std::nullopt;
    if (today && line.has("--forecast") && !forecast) {
        misuse = "--forecast wants a number of days from 1 to " + std::to_string(longestForecast) +
                 ", not \"" + line.value("--forecast") + "\"";
    }
    if (!misuse.empty()) {
        io.err << "mqdeck: stats: " << misuse << '\n' << statsCommand.usage;
        return exitUsage;
    }
    CardBoxes deck;
    if (!readDeckFile(io.files, line.files[0], deck, io.err)) {
        return exitFailed;
    }
    // The program's box days live in its registry settings, out of the tool's reach.
    const BoxDays days;
    std::string out = formatStats(deck, terminalWidth(), summarizeDue(deck, days, *today));
    if (forecast) {
        const std::vector<int> perDay = dueForecast(deck, days, *today, *forecast);
        for (std::size_t offset = 0; offset < perDay.size(); ++offset) {
            appendDay(out, *today + static_cast<CalendarDay>(offset));
            out += ' ' + std::to_string(perDay[offset]) + '\n';
        }
    }
    if (line.has("--history")) {
        out += formatHistory(deck.history());
    }
    io.out << out;
    return exitDone;
}

}  // namespace

const Command statsCommand{
    "stats",
    "usage: mqdeck stats [--today YYYY-MM-DD] [--forecast D] [--history] FILE\n",
    "Counts the cards in each box of the card file FILE, with a bar of \"#\" per box\n"
    "scaled to the terminal's width (COLUMNS when set, 80 when not a terminal), the\n"
    "cards due in each of boxes 1 to 5, the cards in boxes 1 to 6 (learning), in box\n"
    "6 (learned) and in all, and the cards due today. A card is due once it has\n"
    "rested its box's days since it entered the box (0, 1, 3, 7 and 14 days for\n"
    "boxes 1 to 5: the program's defaults, as the tool cannot see the days set in\n"
    "the program); a card without a day is due, cards in boxes 0 and 6 never are.\n"
    "  --today YYYY-MM-DD  count from this day instead of the computer's local date\n"
    "  --forecast D        add D lines \"YYYY-MM-DD N\" from today on (D from 1 to\n"
    "                      3650): N is every card due today on today's line, and on\n"
    "                      each later line the cards that fall due that day\n"
    "  --history           add, oldest first, a line \"YYYY-MM-DD up U back B new N\"\n"
    "                      for each day the deck was learned on: the cards moved\n"
    "                      up (Move), sent back to box 1 (Back) and drawn new\n"
    "                      (Get New Card) that day\n",
    {{"--today", true}, {"--forecast", true}, {"--history", false}},
    1,
    1,
    runStats,
};
