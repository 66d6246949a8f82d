#pragma once
#include "platform/Clock.h"

// Today is whatever the test says; 2026-12-08 unless told otherwise.
class FakeClock : public Clock {
public:
    CalendarDay today() override { return day; }
    CalendarDay day = dayFromDate(2026, 12, 8);
};
