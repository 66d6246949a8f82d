#pragma once
#include <cstdint>

// A day as the count of days since 1970-01-01 (the model's CalendarDay); the
// smallest value stands for no day.
using ClockDay = std::int32_t;
constexpr ClockDay noClockDay = INT32_MIN;

// A moment in the user's local time, to the minute.
struct LocalTime {
    ClockDay day = noClockDay;
    int minute = 0;  // of the day, 0 to 1439
};

// The calendar day in the user's local time, as the computer's clock has it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual ClockDay today() = 0;
    virtual LocalTime now() = 0;
};
