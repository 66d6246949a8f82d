#pragma once
#include "model/CalendarDay.h"

// A moment in the user's local time, to the minute.
struct LocalTime {
    CalendarDay day = noDay;
    int minute = 0;  // of the day, 0 to 1439
};

// The calendar day in the user's local time, as the computer's clock has it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarDay today() = 0;
    virtual LocalTime now() = 0;
};
