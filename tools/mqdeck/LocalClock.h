#pragma once
#include "model/CalendarDay.h"
#include "platform/Clock.h"

// The local date of the machine the tool runs on, from the C library's clock.
class LocalClock : public Clock {
public:
    CalendarDay today() override;
    LocalTime now() override;
};
