#include "tools/mqdeck/LocalClock.h"

#include <ctime>

CalendarDay LocalClock::today() {
    const std::time_t now = std::time(nullptr);
    // The tool runs on one thread, so localtime's shared result is safe here.
    const std::tm* local = now == static_cast<std::time_t>(-1) ? nullptr : std::localtime(&now);
    if (local == nullptr) {
        // Rather a wrong day than no answer: --today is there for such a machine.
        return dayFromDate(1970, 1, 1);
    }
    return dayFromDate(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday);
}

LocalTime LocalClock::now() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = now == static_cast<std::time_t>(-1) ? nullptr : std::localtime(&now);
    if (local == nullptr) {
        return LocalTime{today(), 0};
    }
    return LocalTime{dayFromDate(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday),
                     local->tm_hour * 60 + local->tm_min};
}
