#pragma once
#include "model/CalendarDay.h"
#include "platform/Clock.h"

// Today is whatever the test says; 2026-12-08 unless told otherwise, at 09:30.
class FakeClock : public Clock {
public:
    CalendarDay today() override { return day; }
    LocalTime now() override { return LocalTime{day, minute}; }
    CalendarDay day = dayFromDate(2026, 12, 8);
    int minute = 9 * 60 + 30;
};
