#pragma once
#include <cstdint>
#include <map>

#include "model/CalendarDay.h"

// What the learner did on one day.
struct DayTally {
    std::uint32_t up = 0;     // Move: one box up
    std::uint32_t back = 0;   // Back: to box 1
    std::uint32_t drawn = 0;  // Get New Card: out of box 0

    bool isEmpty() const { return up == 0 && back == 0 && drawn == 0; }
    bool operator==(const DayTally& other) const {
        return up == other.up && back == other.back && drawn == other.drawn;
    }
};

enum class Tally : std::uint8_t { up, back, drawn };

// The deck's learning per calendar day, oldest first. Days without learning are
// not kept, so a deck that was never learned has an empty history.
class LearningHistory {
public:
    using Days = std::map<CalendarDay, DayTally>;

    // Adds `delta` (which may be negative, for Undo) to one count of `day`; a
    // count never goes below 0, and a day whose counts are all 0 goes.
    void count(CalendarDay day, Tally which, std::int64_t delta);
    // The reader's way in: the counts of a day as the file gives them.
    void add(CalendarDay day, const DayTally& tally);

    const Days& days() const { return days_; }
    bool empty() const { return days_.empty(); }
    DayTally on(CalendarDay day) const;

private:
    Days days_;
};
