#include "model/LearningHistory.h"

#include <algorithm>
#include <limits>

namespace {
std::uint32_t& counter(DayTally& tally, Tally which) {
    switch (which) {
        case Tally::up:
            return tally.up;
        case Tally::back:
            return tally.back;
        case Tally::rightFirstTry:
            return tally.rightFirstTry;
        case Tally::drawn:
            break;
    }
    return tally.drawn;
}

// Saturating, so that a hand-edited count near the limit cannot wrap to a small one.
std::uint32_t plus(std::uint32_t value, std::int64_t delta) {
    const std::int64_t sum = static_cast<std::int64_t>(value) + delta;
    return static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(sum, 0, std::numeric_limits<std::uint32_t>::max()));
}
}  // namespace

void LearningHistory::count(CalendarDay day, Tally which, std::int64_t delta) {
    DayTally& tally = days_[day];
    std::uint32_t& value = counter(tally, which);
    value = plus(value, delta);
    if (tally.isEmpty()) {
        days_.erase(day);
    }
}

void LearningHistory::add(CalendarDay day, const DayTally& tally) {
    if (tally.isEmpty()) {
        return;
    }
    DayTally& kept = days_[day];
    kept.up = plus(kept.up, tally.up);
    kept.back = plus(kept.back, tally.back);
    kept.drawn = plus(kept.drawn, tally.drawn);
    kept.rightFirstTry = plus(kept.rightFirstTry, tally.rightFirstTry);
}

DayTally LearningHistory::on(CalendarDay day) const {
    const auto found = days_.find(day);
    return found == days_.end() ? DayTally{} : found->second;
}
