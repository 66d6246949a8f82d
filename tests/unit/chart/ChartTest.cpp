#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "chart/ChartLayout.h"
#include "chart/ChartSvg.h"
#include "chart/WindowPlacement.h"
#include "model/CardBoxes.h"
#include "model/Schedule.h"

namespace {

const CalendarDay today = dayFromDate(2026, 3, 10);

ProgressData sampleData() {
    ProgressData data;
    data.deckName = "Latin";
    data.today = today;
    data.boxes = {40, 20, 10, 0, 3, 1, 12};
    data.due.assign(ProgressData::days, 0);
    data.due[0] = 58;
    data.due[3] = 2;
    data.learned.assign(ProgressData::days, DayTally{});
    data.learned[29] = DayTally{4, 6, 1, 4};
    data.learned[0] = DayTally{20, 5, 2};
    return data;
}

bool inside(const Area& inner, const Area& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom && inner.left <= inner.right && inner.top <= inner.bottom;
}

// A face whose every character is 0.6 of the line high, as a sans-serif's digits.
TextMeasure measure(int height) {
    return {height, [height](std::string_view text) {
                return static_cast<int>(text.size()) * height * 6 / 10;
            }};
}

TEST(ProgressData, TakesTheBoxesTheScheduleAndTheLast30DaysOfHistory) {
    CardBoxes deck;
    for (const int box : {0, 0, 2, 6}) {
        auto card = std::make_shared<Card>("-", box, 1, "q", "a", "i");
        card->setDay(today - 1);
        deck.boxForReading(box).push_back(card);
    }
    LearningHistory& history = deck.historyForReading();
    for (const CalendarDay day : {today - 30, today - 29, today, today + 1}) {
        history.add(day, DayTally{static_cast<std::uint32_t>(today + 2 - day), 1, 0});
    }
    const ProgressData data = progressData(deck, BoxDays{}, today, "deck");
    EXPECT_EQ(data.boxes, (std::array<int, 7>{2, 0, 1, 0, 0, 0, 1}));
    ASSERT_EQ(data.due.size(), 30u);
    EXPECT_EQ(data.due[0], 1);  // box 2 rests one day: due today
    EXPECT_EQ(std::count(data.due.begin(), data.due.end(), 0), 29);
    ASSERT_EQ(data.learned.size(), 30u);
    EXPECT_EQ(data.learned.front(), (DayTally{31, 1, 0}));
    EXPECT_EQ(data.learned.back(), (DayTally{2, 1, 0}));
    EXPECT_EQ(std::count(data.learned.begin(), data.learned.end(), DayTally{}), 28);

    EXPECT_EQ(deckNameOf("C:\\cards\\Latin verbs.mqf"), "Latin verbs");
    EXPECT_EQ(deckNameOf("/home/a.b/deck"), "deck");
    EXPECT_EQ(deckNameOf(".mqf"), ".mqf");
}

TEST(ChartLayout, AxesEndOnTheFirstRoundStepAtOrAboveTheLargestValue) {
    const struct {
        int largest, mostSteps, top, step;
    } cases[] = {{0, 5, 1, 1},    {1, 10, 1, 1},      {7, 5, 8, 2},      {40, 4, 40, 10},
                 {58, 3, 60, 20}, {101, 2, 200, 100}, {99, 0, 100, 100}, {7, 7, 7, 1}};
    for (const auto& c : cases) {
        const Axis axis = niceAxis(c.largest, c.mostSteps);
        EXPECT_EQ(axis.top, c.top) << c.largest << " in " << c.mostSteps;
        EXPECT_EQ(axis.step, c.step) << c.largest << " in " << c.mostSteps;
    }
}

TEST(ChartLayout, EveryShapeStaysInItsChartAndLabelsUnderTheBarsNeverTouch) {
    const ProgressData data = sampleData();
    // 96 and 144 DPI, a small window, and one too small for any chart; then as the
    // window opens beside the dialog on a 1024-pixel screen, and at its narrowest
    // with the system's font at 96 and 144 DPI, where the legend takes lines of its own.
    const struct {
        int width, height, textHeight;
    } sizes[] = {{560, 600, 13}, {840, 900, 20}, {300, 260, 13}, {40, 30, 13},
                 {286, 600, 16}, {224, 600, 16}, {344, 900, 24}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.width);
        const ProgressPicture picture =
            layoutProgress(data, size.width, size.height, measure(size.textHeight));
        const Area all{0, 0, size.width, size.height};
        EXPECT_EQ(picture.heading[0].text, "Latin");
        for (const ChartPicture& chart : picture.charts) {
            EXPECT_TRUE(inside(chart.frame, all) || size.width < 100);
            EXPECT_EQ(chart.labels.front().text, chart.title);
            for (const Bar& bar : chart.bars) EXPECT_TRUE(inside(bar.area, chart.frame));
            int axisY = chart.frame.bottom;
            for (const Rule& rule : chart.rules) {
                if (rule.ink == Ink::axis && rule.y1 == rule.y2) axisY = rule.y1;
            }
            std::vector<Area> under;
            for (const Label& label : chart.labels) {
                if (label.area.top > axisY) under.push_back(label.area);
            }
            EXPECT_TRUE(under.size() > 1 || size.width < 100);
            for (std::size_t i = 1; i < under.size(); ++i) {
                EXPECT_LT(under[i - 1].right, under[i].left);
            }
        }
        // The legend: every ink named, beside the title or under it, over the plot
        // with a line to spare for the counts, its entries apart.
        const ChartPicture& learned = picture.charts[2];
        const Area& title = learned.labels.front().area;
        const int titleRight = title.left + measure(size.textHeight).width(learned.title);
        int plotTop = learned.frame.bottom;
        for (const Rule& rule : learned.rules) {
            if (rule.x1 == rule.x2) plotTop = rule.y1;
        }
        std::vector<Area> legend;
        for (const Label& label : learned.labels) {
            const bool named = label.text == "moved up" || label.text == "sent back";
            if (named || label.text == "new" || label.text == "right first try") {
                legend.push_back(label.area);
            }
        }
        // The small window keeps its bars rather than a legend in two lines.
        EXPECT_TRUE(legend.size() == 4 || size.width <= 300);
        for (std::size_t i = 0; i < legend.size(); ++i) {
            EXPECT_TRUE(inside(legend[i], learned.frame));
            EXPECT_TRUE(legend[i].top >= title.bottom || legend[i].left > titleRight);
            EXPECT_LE(legend[i].bottom + size.textHeight, plotTop);
            if (i > 0 && legend[i].top == legend[i - 1].top) {
                EXPECT_LT(legend[i - 1].right, legend[i].left);
            }
        }
    }
    EXPECT_EQ(layoutProgress(data, 40, 30, measure(13)).charts[0].bars.size(), 0u);
}

TEST(ChartLayout, BarsAreToScaleStackedAndNumbered) {
    const ProgressPicture picture = layoutProgress(sampleData(), 560, 600, measure(13));
    const ChartPicture& boxes = picture.charts[0];
    ASSERT_EQ(boxes.bars.size(), 6u);  // box 3 is empty
    EXPECT_NEAR(boxes.bars[0].area.height(), 2 * boxes.bars[1].area.height(), 1);
    EXPECT_NEAR(boxes.bars[1].area.height(), 2 * boxes.bars[2].area.height(), 1);
    std::vector<std::string> texts;
    for (const Label& label : boxes.labels) texts.push_back(label.text);
    for (const char* count : {"40", "20", "10", "0", "3", "1", "12"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), count), texts.end()) << count;
    }

    const ChartPicture& due = picture.charts[1];
    EXPECT_EQ(due.title, "Due in the next 30 days");
    EXPECT_EQ(due.labels[due.labels.size() - 1].text.size(), 5u);  // "MM-DD"
    bool todayFirst = false;
    for (const Label& label : due.labels) todayFirst = todayFirst || label.text == "today";
    EXPECT_TRUE(todayFirst);

    // Learned: today's stack last, moved up at the bottom, then back, then new.
    const ChartPicture& learned = picture.charts[2];
    EXPECT_EQ(learned.title, "Learned per day");
    std::vector<Bar> stack;
    for (const Bar& bar : learned.bars) {
        if (bar.area.left == learned.bars.back().area.left) stack.push_back(bar);
    }
    ASSERT_EQ(stack.size(), 3u);
    EXPECT_EQ(stack[0].ink, Ink::up);
    EXPECT_EQ(stack[1].ink, Ink::back);
    EXPECT_EQ(stack[2].ink, Ink::drawn);
    EXPECT_EQ(stack[0].area.top, stack[1].area.bottom);
    EXPECT_EQ(stack[1].area.top, stack[2].area.bottom);
    EXPECT_NEAR(stack[1].area.height() / 6.0, stack[2].area.height(), 1.0);
    std::vector<std::string> legend;
    for (const Label& label : learned.labels) legend.push_back(label.text);
    EXPECT_NE(std::find(legend.begin(), legend.end(), "sent back"), legend.end());

    // Typed answers right on the first try: a tick at their height across the day's
    // bar and beyond it, and in the legend; a deck without them has neither.
    const std::vector<Rule>& ticks = learned.ticks;
    ASSERT_EQ(ticks.size(), 2u);  // the legend's and today's
    EXPECT_EQ(ticks[1].y1, stack[0].area.top);
    EXPECT_LT(ticks[1].x1, stack[0].area.left);
    EXPECT_GT(ticks[1].x2, stack[0].area.right);
    ProgressData untyped = sampleData();
    untyped.learned[29].rightFirstTry = 0;
    const ChartPicture plain = layoutProgress(untyped, 560, 600, measure(13)).charts[2];
    EXPECT_TRUE(plain.ticks.empty());
    EXPECT_EQ(plain.labels.size() + 1, learned.labels.size());
}

TEST(ChartSvg, ThreeTitledGroupsAndEveryTextEscaped) {
    ProgressData data = sampleData();
    data.deckName = "<Verbs> & \"more\" \x01\xFF";
    const std::string svg = progressSvg(data);
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    std::size_t at = 0;
    for (const char* title : {"Boxes", "Due in the next 30 days", "Learned per day"}) {
        at = svg.find(std::string("<g>\n<title>") + title + "</title>", at);
        EXPECT_NE(at, std::string::npos) << title;
    }
    EXPECT_NE(svg.find(">&lt;Verbs&gt; &amp; &quot;more&quot; \xEF\xBF\xBD</text>"),
              std::string::npos);
    EXPECT_EQ(svg.find('\x01'), std::string::npos);
    std::size_t opened = 0;
    std::size_t closed = 0;
    for (std::size_t i = svg.find("<g>"); i != std::string::npos; i = svg.find("<g>", i + 1)) {
        ++opened;
    }
    for (std::size_t i = svg.find("</g>"); i != std::string::npos; i = svg.find("</g>", i + 1)) {
        ++closed;
    }
    EXPECT_EQ(opened, 3u);
    EXPECT_EQ(closed, 3u);
    EXPECT_EQ(xmlEscaped("a'b\tc\n"), "a&apos;b\tc");
}

}  // namespace

TEST(WindowPlacement, BesideTheDialogRightThenLeftThenNarrowerAndOnlyThenOverIt) {
    struct Case {
        Area dialog;
        Area work;
        int dpi;
        std::array<int, 4> placed;
    };
    const Case cases[] = {
        {{400, 100, 700, 500}, {0, 0, 1920, 1040}, 96, {708, 100, 1228, 700}},  // right
        {{900, 100, 1200, 500}, {0, 0, 1300, 1040}, 96, {372, 100, 892, 700}},  // left
        {{400, 100, 700, 500}, {0, 0, 1000, 1040}, 144, {0, 100, 388, 1000}},   // narrower
        {{400, 100, 700, 500}, {300, 0, 1000, 640}, 96, {708, 40, 1000, 640}},  // on screen
        {{400, 100, 700, 500}, {300, 0, 900, 640}, 96, {380, 40, 900, 640}},    // over it
    };
    for (const Case& c : cases) {
        const Area placed = placeBeside(c.dialog, c.work, c.dpi);
        EXPECT_EQ((std::array<int, 4>{placed.left, placed.top, placed.right, placed.bottom}),
                  c.placed)
            << c.work.right << " " << c.dpi;
    }
}
