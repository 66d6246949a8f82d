#include "chart/ProgressData.h"

#include "model/CardBoxes.h"
#include "model/Schedule.h"

ProgressData progressData(const CardBoxes& deck, const BoxDays& days, CalendarDay today,
                          std::string deckName) {
    ProgressData data;
    data.deckName = std::move(deckName);
    data.today = today;
    for (int box = 0; box < ProgressData::boxCount; ++box) {
        data.boxes[static_cast<std::size_t>(box)] = deck.count(box);
    }
    data.due = dueForecast(deck, days, today, ProgressData::days);
    data.learned.resize(ProgressData::days);
    for (int back = 0; back < ProgressData::days && std::int64_t{today} - noDay > back; ++back) {
        data.learned[static_cast<std::size_t>(ProgressData::days - 1 - back)] =
            deck.history().on(today - back);
    }
    return data;
}

std::string deckNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = base.find_last_of('.');
    // ".mqf" alone is a name, not an extension.
    return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}
