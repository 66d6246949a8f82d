#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/CalendarDay.h"
#include "model/CardBoxes.h"

// How many days a card rests in each of boxes 1 to 5 before it is due again. Box 0
// holds cards never drawn and box 6 learned ones: neither is ever due.
struct BoxDays {
    static constexpr int firstBox = 1;
    static constexpr int lastBox = 5;
    static constexpr std::int32_t maxDays = 3650;
    std::array<std::int32_t, lastBox> days{0, 1, 3, 7, 14};

    std::int32_t of(int box) const { return days[static_cast<std::size_t>(box - firstBox)]; }
    static bool isScheduled(int box) { return box >= firstBox && box <= lastBox; }
};

// The day a card in `box` with `day` falls due: today at the latest, so a day
// after today (a clock set back, another time zone) counts as today. None for the
// boxes without a schedule.
std::optional<CalendarDay> dueDay(const Card& card, int box, const BoxDays& days,
                                  CalendarDay today);
bool isDue(const Card& card, int box, const BoxDays& days, CalendarDay today);

// What is due today in a deck, and when the next cards fall due otherwise.
struct DueSummary {
    std::array<int, BoxDays::lastBox> perBox{};  // boxes 1 to 5
    int total = 0;
    std::optional<CalendarDay> nextDay;  // the earliest day after today with due cards
    int nextCount = 0;
};
DueSummary summarizeDue(const CardBoxes& deck, const BoxDays& days, CalendarDay today);

// "N due today", or "Nothing due today" and when the next cards fall due.
std::string dueLine(const DueSummary& summary);

// For each of `count` days from today: on today, every card due; on each later day,
// the cards that become due that day, as if nobody learned in between.
std::vector<int> dueForecast(const CardBoxes& deck, const BoxDays& days, CalendarDay today,
                             int count);

// The index of the first due card of `box` at or after `from`, going round the box
// once; none when the box holds no due card.
std::optional<std::size_t> nextDueIndex(const CardBoxes& deck, int box, std::size_t from,
                                        const BoxDays& days, CalendarDay today);
// The index of the last due card of `box` at or before `from`, going round the
// box once backwards; none when the box holds no due card.
std::optional<std::size_t> previousDueIndex(const CardBoxes& deck, int box, std::size_t from,
                                            const BoxDays& days, CalendarDay today);
