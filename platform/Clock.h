#pragma once
#include "model/CalendarDay.h"

// The calendar day in the user's local time, as the computer's clock has it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarDay today() = 0;
};
