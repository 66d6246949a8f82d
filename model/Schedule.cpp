#include "model/Schedule.h"

#include <algorithm>

std::optional<CalendarDay> dueDay(const Card& card, int box, const BoxDays& days,
                                  CalendarDay today) {
    if (!BoxDays::isScheduled(box)) {
        return std::nullopt;
    }
    // A card that never got a day was learned before days were kept: it is due.
    if (card.getDay() == noDay) {
        return today;
    }
    const CalendarDay entered = std::min(card.getDay(), today);
    return static_cast<CalendarDay>(static_cast<std::int64_t>(entered) + days.of(box));
}

bool isDue(const Card& card, int box, const BoxDays& days, CalendarDay today) {
    const std::optional<CalendarDay> due = dueDay(card, box, days, today);
    return due && *due <= today;
}

DueSummary summarizeDue(const CardBoxes& deck, const BoxDays& days, CalendarDay today) {
    DueSummary summary;
    for (int box = BoxDays::firstBox; box <= BoxDays::lastBox; ++box) {
        int& due = summary.perBox[static_cast<std::size_t>(box - BoxDays::firstBox)];
        for (const CardRef& card : deck.box(box)) {
            const CalendarDay day = *dueDay(*card, box, days, today);
            if (day <= today) {
                ++due;
            } else if (!summary.nextDay || day < *summary.nextDay) {
                summary.nextDay = day;
                summary.nextCount = 1;
            } else if (day == *summary.nextDay) {
                ++summary.nextCount;
            }
        }
        summary.total += due;
    }
    return summary;
}

std::string dueLine(const DueSummary& summary) {
    if (summary.total > 0) {
        return std::to_string(summary.total) + " due today";
    }
    std::string line = "Nothing due today";
    if (summary.nextDay) {
        line +=
            ". Next: " + std::to_string(summary.nextCount) + " on " + formatDay(*summary.nextDay);
    }
    return line;
}

std::vector<int> dueForecast(const CardBoxes& deck, const BoxDays& days, CalendarDay today,
                             int count) {
    std::vector<int> perDay(static_cast<std::size_t>(std::max(count, 0)), 0);
    for (int box = BoxDays::firstBox; box <= BoxDays::lastBox; ++box) {
        for (const CardRef& card : deck.box(box)) {
            const std::int64_t offset = std::max<std::int64_t>(
                0, static_cast<std::int64_t>(*dueDay(*card, box, days, today)) - today);
            if (offset < count) {
                ++perDay[static_cast<std::size_t>(offset)];
            }
        }
    }
    return perDay;
}

std::optional<std::size_t> nextDueIndex(const CardBoxes& deck, int box, std::size_t from,
                                        const BoxDays& days, CalendarDay today) {
    const CardBoxes::Box& cards = deck.box(box);
    for (std::size_t passed = 0; passed < cards.size(); ++passed) {
        const std::size_t index = (from + passed) % cards.size();
        if (isDue(*cards[index], box, days, today)) {
            return index;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> previousDueIndex(const CardBoxes& deck, int box, std::size_t from,
                                            const BoxDays& days, CalendarDay today) {
    const CardBoxes::Box& cards = deck.box(box);
    for (std::size_t passed = 0; passed < cards.size(); ++passed) {
        const std::size_t index = (from + cards.size() - passed) % cards.size();
        if (isDue(*cards[index], box, days, today)) {
            return index;
        }
    }
    return std::nullopt;
}
