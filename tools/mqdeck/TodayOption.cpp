#include "tools/mqdeck/TodayOption.h"

std::optional<CalendarDay> todayOption(const CommandLine& line, Clock& clock, std::string& misuse) {
    if (!line.has("--today")) {
        return clock.today();
    }
    const std::optional<CalendarDay> given = parseDay(line.value("--today"));
    if (!given) {
        misuse = "--today wants a date YYYY-MM-DD, not \"" + line.value("--today") + "\"";
    }
    return given;
}
