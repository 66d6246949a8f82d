#pragma once
#include <optional>
#include <string>

#include "model/CalendarDay.h"
#include "platform/Clock.h"
#include "tools/mqdeck/CommandLine.h"

// The day a command counts from: the one --today names, else the clock's. No day
// when --today names none; `misuse` then says so.
std::optional<CalendarDay> todayOption(const CommandLine& line, Clock& clock, std::string& misuse);
