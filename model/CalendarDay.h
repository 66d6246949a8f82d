#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A calendar day as the number of days since 1970-01-01, so that days compare and
// add as integers. Cards without a day hold noDay.
using CalendarDay = std::int32_t;
constexpr CalendarDay noDay = INT32_MIN;

CalendarDay dayFromDate(int year, int month, int day);

// "YYYY-MM-DD" with a month and day that exist in that year (years 1 to 9999);
// anything else is no date.
std::optional<CalendarDay> parseDay(std::string_view text);

// Appends "YYYY-MM-DD"; ten characters for every day parseDay gives.
void appendDay(std::string& text, CalendarDay day);
// Writes those ten characters at `at`, for a writer that puts a day amid other
// bytes of its own.
void writeDay(char* at, CalendarDay day);
std::string formatDay(CalendarDay day);
