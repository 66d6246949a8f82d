#include "model/CalendarDay.h"

#include <array>
#include <cstring>

namespace {

struct Date {
    int year;
    int month;
    int day;
};

// The proleptic Gregorian calendar counted in 400-year eras that start on March 1,
// so the leap day falls at the end of an era's year and needs no special case.
// `Number` is signed for any day, or unsigned for days from year 0 on, whose
// divisions by constants come cheaper (on a 32-bit processor much cheaper than
// those of 64-bit numbers); a card file reads and writes one for most cards.
template <typename Number>
Date dateFromShifted(Number z) {
    const Number era = (z >= 0 ? z : z - 146096) / 146097;
    const Number dayOfEra = z - era * 146097;
    const Number yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const Number dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const Number shifted = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return Date{year, month, day};
}

template <typename Number>
Number shiftedFromDate(Number year, Number month, Number day) {
    const Number y = year - (month <= 2 ? 1 : 0);
    const Number era = (y >= 0 ? y : y - 399) / 400;
    const Number yearOfEra = y - era * 400;
    const Number dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

// Days from 0000-03-01 to 1970-01-01.
constexpr std::int64_t epochShift = 719468;
// The days of years 1 to 9999, which take four digits.
constexpr CalendarDay firstFourDigitDay = -719162;  // 0001-01-01
constexpr CalendarDay lastFourDigitDay = 2932896;   // 9999-12-31

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

// "00" to "99", so that a date is written two digits at a time.
constexpr std::array<char, 200> digitPairs = [] {
    std::array<char, 200> pairs{};
    for (int n = 0; n < 100; ++n) {
        pairs[static_cast<std::size_t>(2 * n)] = static_cast<char>('0' + n / 10);
        pairs[static_cast<std::size_t>(2 * n + 1)] = static_cast<char>('0' + n % 10);
    }
    return pairs;
}();

void putPair(char* at, int value) {
    std::memcpy(at, &digitPairs[static_cast<std::size_t>(2 * value)], 2);
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
    return static_cast<CalendarDay>(shiftedFromDate<std::int64_t>(year, month, day) - epochShift);
}

std::optional<CalendarDay> parseDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    // Digits only: no sign, no blank, exactly as many as each field has.
    unsigned digits[8];
    unsigned notDigits = 0;
    constexpr int places[8] = {0, 1, 2, 3, 5, 6, 8, 9};
    for (int i = 0; i < 8; ++i) {
        digits[i] = static_cast<unsigned char>(text[places[i]]) - unsigned{'0'};
        notDigits |= digits[i] > 9 ? 1u : 0u;
    }
    const unsigned year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    const unsigned month = digits[4] * 10 + digits[5];
    const unsigned day = digits[6] * 10 + digits[7];
    if (notDigits != 0 || year < 1 || month < 1 || month > 12 || day < 1 ||
        day > static_cast<unsigned>(daysInMonth(static_cast<int>(year), static_cast<int>(month)))) {
        return std::nullopt;
    }
    return static_cast<CalendarDay>(
        static_cast<std::int64_t>(shiftedFromDate<std::uint32_t>(year, month, day)) - epochShift);
}

void writeDay(char* at, CalendarDay day) {
    if (day < firstFourDigitDay || day > lastFourDigitDay) {
        std::string text;
        const Date date = dateFromShifted<std::int64_t>(day + epochShift);
        appendDigits(text, date.year, 4);
        text.push_back('-');
        appendDigits(text, date.month, 2);
        text.push_back('-');
        appendDigits(text, date.day, 2);
        std::memcpy(at, text.data(), text.size());
        return;
    }
    const Date date = dateFromShifted<std::uint32_t>(static_cast<std::uint32_t>(day + epochShift));
    putPair(at, date.year / 100);
    putPair(at + 2, date.year % 100);
    at[4] = '-';
    putPair(at + 5, date.month);
    at[7] = '-';
    putPair(at + 8, date.day);
}

void appendDay(std::string& text, CalendarDay day) {
    char written[10];
    writeDay(written, day);
    text.append(written, sizeof written);
}

std::string formatDay(CalendarDay day) {
    std::string text;
    text.reserve(10);
    appendDay(text, day);
    return text;
}
