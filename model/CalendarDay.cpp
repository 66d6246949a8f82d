#include "model/CalendarDay.h"

namespace {

struct Date {
    int year;
    int month;
    int day;
};

// The proleptic Gregorian calendar counted in 400-year eras that start on March 1,
// so the leap day falls at the end of an era's year and needs no special case.
Date dateFromDay(CalendarDay days) {
    const std::int64_t z = static_cast<std::int64_t>(days) + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shifted = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return Date{year, month, day};
}

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

// Digits only: no sign, no blank, exactly as many as the field has.
bool readDigits(std::string_view text, int& value) {
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

void appendDigits(std::string& text, int value, int width) {
    char digits[4];
    for (int place = width - 1; place >= 0; --place) {
        digits[place] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    text.append(digits, static_cast<std::size_t>(width));
}

}  // namespace

CalendarDay dayFromDate(int year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<CalendarDay>(era * 146097 + dayOfEra - 719468);
}

std::optional<CalendarDay> parseDay(std::string_view text) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
        !readDigits(text.substr(0, 4), year) || !readDigits(text.substr(5, 2), month) ||
        !readDigits(text.substr(8, 2), day) || year < 1 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    return dayFromDate(year, month, day);
}

void appendDay(std::string& text, CalendarDay day) {
    const Date date = dateFromDay(day);
    appendDigits(text, date.year, 4);
    text.push_back('-');
    appendDigits(text, date.month, 2);
    text.push_back('-');
    appendDigits(text, date.day, 2);
}

std::string formatDay(CalendarDay day) {
    std::string text;
    text.reserve(10);
    appendDay(text, day);
    return text;
}
