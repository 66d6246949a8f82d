#include <gtest/gtest.h>

#include <cstdio>

#include "model/Schedule.h"

namespace {
const CalendarDay today = dayFromDate(2026, 12, 8);

CardRef dated(CalendarDay day) {
    auto card = std::make_shared<Card>("-", 0, 0, "q", "", "");
    card->setDay(day);
    return card;
}
}  // namespace

TEST(CalendarDay, DatesReadAndWriteAsTheyAreAndNothingElseIsADate) {
    for (const char* date : {"1970-01-01", "2024-02-29", "2000-02-29", "0001-01-01", "9999-12-31",
                             "2026-12-08", "1969-12-31"}) {
        const std::optional<CalendarDay> day = parseDay(date);
        ASSERT_TRUE(day) << date;
        EXPECT_EQ(formatDay(*day), date);
    }
    EXPECT_EQ(parseDay("1970-01-02"), 1);
    EXPECT_EQ(parseDay("2026-12-08"), today);
    for (const char* text :
         {"2025-02-29", "1900-02-29", "2026-13-01", "2026-00-10", "2026-12-32", "2026-1-08",
          " 2026-12-08", "2026-12-08 ", "2026/12/08", "+026-12-08", "0000-01-01", ""}) {
        EXPECT_FALSE(parseDay(text)) << text;
    }
    // Day after day across the turns of centuries and of a 400-year era, each date
    // is the one after the date before, and reads back as its day.
    int year = 1899, month = 12, date = 1;
    std::string text;
    for (CalendarDay day = *parseDay("1899-12-01"); day <= *parseDay("2100-03-01"); ++day) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "%04d-%02d-%02d", year % 10000, month % 100,
                      date % 100);
        text.clear();
        appendDay(text, day);
        ASSERT_EQ(text, expected);
        ASSERT_EQ(parseDay(text), day);
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        const int monthDays[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (++date > monthDays[month - 1]) {
            date = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
}

TEST(Schedule, ACardIsDueOnceItsBoxsDaysHavePassed) {
    const BoxDays days;  // 0, 1, 3, 7, 14
    struct Case {
        int box;
        CalendarDay day;
        bool due;
    };
    const Case cases[] = {
        {1, today, true},       {2, today, false},      {2, today - 1, true},
        {3, today - 2, false},  {3, today - 3, true},   {3, today - 4, true},
        {5, today - 13, false}, {5, today - 14, true},  {3, noDay, true},
        {2, today + 5, false},  {1, today + 5, true},  // a day to come counts as today
        {0, today - 99, false}, {6, today - 99, false}, {0, noDay, false},
        {6, noDay, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isDue(*dated(c.day), c.box, days, today), c.due)
            << "box " << c.box << " day " << c.day - today;
    }
    BoxDays edited;
    edited.days = {2, 0, 3650, 7, 14};
    EXPECT_FALSE(isDue(*dated(today - 1), 1, edited, today));
    EXPECT_TRUE(isDue(*dated(today), 2, edited, today));
    EXPECT_FALSE(isDue(*dated(today - 3649), 3, edited, today));
    EXPECT_EQ(dueDay(*dated(today + 5), 2, edited, today), today);
}

TEST(Schedule, SummaryLineForecastAndTheNextDueCardOfABox) {
    CardBoxes deck;
    const auto put = [&deck](int box, CalendarDay day) {
        deck.boxForReading(box).push_back(dated(day));
    };
    put(0, noDay);
    put(2, today);      // due tomorrow
    put(2, today - 1);  // due
    put(3, today);      // due in 3 days
    put(4, today - 6);  // due tomorrow
    put(6, noDay);
    DueSummary summary = summarizeDue(deck, BoxDays{}, today);
    EXPECT_EQ(summary.perBox, (std::array<int, 5>{0, 1, 0, 0, 0}));
    EXPECT_EQ(dueLine(summary), "1 due today");
    EXPECT_EQ(dueForecast(deck, BoxDays{}, today, 4), (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(nextDueIndex(deck, 2, 0, BoxDays{}, today), 1u);
    EXPECT_EQ(nextDueIndex(deck, 2, 2, BoxDays{}, today), 1u);  // round the box
    EXPECT_FALSE(nextDueIndex(deck, 3, 0, BoxDays{}, today));
    CardBoxes walk;  // due, not due, due, not due
    for (const CalendarDay day : {today - 1, today, today - 1, today}) {
        walk.boxForReading(2).push_back(dated(day));
    }
    // From, the due card going back, and going on, each round the box.
    for (const auto& [from, back, on] :
         {std::array<std::size_t, 3>{0, 0, 0}, {1, 0, 2}, {3, 2, 0}}) {
        EXPECT_EQ(previousDueIndex(walk, 2, from, BoxDays{}, today), back) << from;
        EXPECT_EQ(nextDueIndex(walk, 2, from, BoxDays{}, today), on) << from;
    }
    EXPECT_FALSE(previousDueIndex(walk, 3, 0, BoxDays{}, today));

    deck.boxForReading(2).pop_back();
    EXPECT_EQ(dueLine(summarizeDue(deck, BoxDays{}, today)),
              "Nothing due today. Next: 2 on 2026-12-09");
    EXPECT_EQ(dueLine(summarizeDue(CardBoxes(), BoxDays{}, today)), "Nothing due today");
}
