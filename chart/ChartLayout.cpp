#include "chart/ChartLayout.h"

#include <algorithm>
#include <cstddef>

namespace {

struct LegendEntry {
    Ink ink;
    std::string_view name;
    bool tick = false;  // shown as a tick, not as a patch of a bar
};

// One bar: its parts from the bottom up, what stands under it, and the height of
// its tick (none at 0).
struct Column {
    std::array<int, 3> parts{};
    std::string label;
    int tick = 0;
    int total() const { return parts[0] + parts[1] + parts[2]; }
};

struct ChartSeries {
    std::string_view title;
    std::array<Ink, 3> inks;
    std::vector<Column> columns;
    // The column whose label always shows when only some fit: today.
    std::size_t anchor = 0;
    // Boxes show every count, 0 too; the days only those with cards.
    bool numberZeros = false;
    std::vector<LegendEntry> legend;
};

// Steps between labelled days that a reader can count in.
constexpr std::array<int, 8> labelSteps{1, 2, 3, 5, 7, 10, 15, 30};

int scaled(std::int64_t value, int span, int top) {
    return static_cast<int>((value * span + top / 2) / top);
}

std::string dayLabel(CalendarDay day, CalendarDay today) {
    return day == today ? "today" : formatDay(day).substr(5);
}

struct LegendPlacement {
    std::vector<Bar> swatches;
    std::vector<Rule> ticks;
    std::vector<Label> labels;
    int linesUnderTitle = 0;
};

// The legend goes beside the title when it fits there. Else it takes lines of its
// own under the title, as many entries to a line as fit and at least one, so that
// a window as narrow as the one beside the dialog still tells its inks apart.
LegendPlacement placeLegend(const std::vector<LegendEntry>& entries, const Area& frame,
                            const TextMeasure& text, int titleWidth) {
    const int swatch = std::max(1, text.height * 2 / 3);
    const int gap = std::max(1, text.height / 4);
    int total = 0;
    for (const LegendEntry& entry : entries) {
        total += (total == 0 ? 0 : swatch) + swatch + gap + text.width(entry.name);
    }
    const bool besideTitle = titleWidth + text.height + total <= frame.width();
    LegendPlacement legend;
    legend.linesUnderTitle = besideTitle || entries.empty() ? 0 : 1;
    int x = besideTitle ? frame.right - total : frame.left;
    for (const LegendEntry& entry : entries) {
        const int width = text.width(entry.name);
        if (!besideTitle && x > frame.left && x + swatch + gap + width > frame.right) {
            ++legend.linesUnderTitle;
            x = frame.left;
        }
        const int top = frame.top + legend.linesUnderTitle * text.height;
        const int swatchTop = top + (text.height - swatch) / 2;
        if (entry.tick) {
            legend.ticks.push_back(
                {x, top + text.height / 2, x + swatch, top + text.height / 2, entry.ink});
        } else {
            legend.swatches.push_back(
                {Area{x, swatchTop, x + swatch, swatchTop + swatch}, entry.ink});
        }
        const int left = x + swatch + gap;
        legend.labels.push_back(
            {Area{left, top, std::min(left + width, frame.right), top + text.height},
             std::string(entry.name), Align::left, Ink::text, false});
        x = left + width + swatch;
    }
    return legend;
}

// How many columns apart the labels under the bars stand: the fewest that keep
// them from touching, or 0 when even one a chart would not fit.
int labelStep(const ChartSeries& series, double pitch, const TextMeasure& text) {
    int widest = 0;
    for (const Column& column : series.columns) {
        widest = std::max(widest, text.width(column.label));
    }
    for (const int step : labelSteps) {
        if (step * pitch >= widest + text.height / 2.0) {
            return step;
        }
    }
    return 0;
}

void addValueTicks(ChartPicture& chart, const Area& plot, const Axis& axis,
                   const TextMeasure& text) {
    for (int value = 0; value <= axis.top; value += axis.step) {
        const int y = plot.bottom - scaled(value, plot.height(), axis.top);
        chart.rules.push_back({plot.left, y, plot.right, y, value == 0 ? Ink::axis : Ink::grid});
        chart.labels.push_back(
            {Area{chart.frame.left, y - text.height / 2, plot.left - text.height / 4,
                  y + text.height - text.height / 2},
             std::to_string(value), Align::right, Ink::quietText, false});
    }
    chart.rules.push_back({plot.left, plot.top, plot.left, plot.bottom, Ink::axis});
}

void addColumns(ChartPicture& chart, const ChartSeries& series, const Area& plot, const Axis& axis,
                const TextMeasure& text) {
    const double pitch = static_cast<double>(plot.width()) / series.columns.size();
    const int barWidth = std::max(1, static_cast<int>(pitch * 0.7));
    const int step = labelStep(series, pitch, text);
    // Counts over every bar or over none: numbers over only the short ones would read
    // as if the others had none.
    const int half = static_cast<int>(pitch / 2);
    bool numbered = true;
    for (const Column& column : series.columns) {
        numbered = numbered && text.width(std::to_string(column.total())) <= 2 * half;
    }
    for (std::size_t index = 0; index < series.columns.size(); ++index) {
        const Column& column = series.columns[index];
        const int center = plot.left + static_cast<int>(pitch * (index + 0.5));
        const int left = center - barWidth / 2;
        std::int64_t below = 0;
        int top = plot.bottom;
        for (std::size_t part = 0; part < column.parts.size(); ++part) {
            const std::int64_t above = below + column.parts[part];
            top = plot.bottom - scaled(above, plot.height(), axis.top);
            const int bottom = plot.bottom - scaled(below, plot.height(), axis.top);
            if (bottom > top) {
                chart.bars.push_back({Area{left, top, left + barWidth, bottom}, series.inks[part]});
            }
            below = above;
        }
        // Wider than the bar, so that it shows beside it in any colours; a quarter
        // of the gap on each side keeps it apart from the next day's.
        if (column.tick > 0) {
            const int y = plot.bottom - scaled(column.tick, plot.height(), axis.top);
            const int reach = std::max(1, static_cast<int>(pitch - barWidth) / 4);
            chart.ticks.push_back({left - reach, y, left + barWidth + reach, y, Ink::right});
        }
        const std::string value = std::to_string(column.total());
        if (numbered && (column.total() > 0 || series.numberZeros)) {
            chart.labels.push_back({Area{center - half, top - text.height, center + half, top},
                                    value, Align::center, Ink::text, false});
        }
        const auto offset = static_cast<long>(index) - static_cast<long>(series.anchor);
        const bool labelled = step == 0 ? offset == 0 : offset % step == 0;
        if (labelled) {
            const int width = text.width(column.label);
            chart.labels.push_back(
                {Area{center - width / 2 - 1, plot.bottom + text.height / 4,
                      center + width - width / 2 + 1, plot.bottom + text.height / 4 + text.height},
                 column.label, Align::center, Ink::quietText, false});
        }
    }
}

ChartPicture layoutChart(const ChartSeries& series, const Area& frame, const TextMeasure& text) {
    ChartPicture chart;
    chart.title = std::string(series.title);
    chart.frame = frame;
    const int lineHeight = text.height;
    const int titleWidth = text.width(series.title);
    chart.labels.push_back({Area{frame.left, frame.top, frame.right, frame.top + lineHeight},
                            chart.title, Align::left, Ink::text, true});
    // A line for the title, the legend's own, one for the count over the highest bar;
    // one under the bars for their labels. A chart too short for both keeps its bars.
    const int plotBottom = frame.bottom - lineHeight - lineHeight / 4;
    LegendPlacement legend = placeLegend(series.legend, frame, text, titleWidth);
    if (plotBottom - (frame.top + (2 + legend.linesUnderTitle) * lineHeight) < lineHeight) {
        legend = LegendPlacement{};
    }
    Area plot{0, frame.top + (2 + legend.linesUnderTitle) * lineHeight, 0, plotBottom};
    if (plot.height() < lineHeight || series.columns.empty()) {
        return chart;
    }
    int largest = 0;
    for (const Column& column : series.columns) {
        largest = std::max({largest, column.total(), column.tick});
    }
    // Tick labels two lines apart at least, so they never crowd.
    const Axis axis = niceAxis(largest, std::max(1, plot.height() / (2 * lineHeight)));
    plot.left = frame.left + text.width(std::to_string(axis.top)) + lineHeight / 2;
    plot.right = frame.right - lineHeight / 4;
    if (plot.width() < static_cast<int>(series.columns.size())) {
        return chart;
    }
    // A legend without its chart would explain nothing.
    chart.bars.insert(chart.bars.end(), legend.swatches.begin(), legend.swatches.end());
    chart.labels.insert(chart.labels.end(), legend.labels.begin(), legend.labels.end());
    chart.ticks.insert(chart.ticks.end(), legend.ticks.begin(), legend.ticks.end());
    addValueTicks(chart, plot, axis, text);
    addColumns(chart, series, plot, axis, text);
    return chart;
}

std::array<ChartSeries, 3> seriesOfEachChart(const ProgressData& data) {
    std::array<ChartSeries, 3> seriesOfCharts{
        ChartSeries{boxesTitle, {Ink::bar, Ink::bar, Ink::bar}, {}, 0, true, {}},
        ChartSeries{dueTitle, {Ink::bar, Ink::bar, Ink::bar}, {}, 0, false, {}},
        ChartSeries{learnedTitle,
                    {Ink::up, Ink::back, Ink::drawn},
                    {},
                    0,
                    false,
                    {{Ink::up, "moved up"}, {Ink::back, "sent back"}, {Ink::drawn, "new"}}}};
    for (std::size_t box = 0; box < data.boxes.size(); ++box) {
        seriesOfCharts[0].columns.push_back({{data.boxes[box], 0, 0}, std::to_string(box)});
    }
    for (std::size_t offset = 0; offset < data.due.size(); ++offset) {
        seriesOfCharts[1].columns.push_back(
            {{data.due[offset], 0, 0},
             dayLabel(data.today + static_cast<CalendarDay>(offset), data.today)});
    }
    const auto days = static_cast<CalendarDay>(data.learned.size());
    bool typedRight = false;
    for (CalendarDay index = 0; index < days; ++index) {
        const DayTally& tally = data.learned[static_cast<std::size_t>(index)];
        // Capped so that a stack of three stays far within an int.
        const auto count = [](std::uint32_t value) {
            return static_cast<int>(std::min<std::uint32_t>(value, 100000000));
        };
        seriesOfCharts[2].columns.push_back(
            {{count(tally.up), count(tally.back), count(tally.drawn)},
             dayLabel(data.today - (days - 1 - index), data.today),
             count(tally.rightFirstTry)});
        typedRight = typedRight || tally.rightFirstTry > 0;
    }
    // Only a deck whose answers were typed has them to show.
    if (typedRight) {
        seriesOfCharts[2].legend.push_back({Ink::right, "right first try", true});
    }
    seriesOfCharts[2].anchor = data.learned.empty() ? 0 : data.learned.size() - 1;
    return seriesOfCharts;
}

}  // namespace

Axis niceAxis(int largest, int mostSteps) {
    largest = std::max(largest, 1);
    mostSteps = std::max(mostSteps, 1);
    for (std::int64_t power = 1;; power *= 10) {
        for (const std::int64_t factor : {1, 2, 5}) {
            const std::int64_t step = factor * power;
            const std::int64_t steps = (largest + step - 1) / step;
            if (steps <= mostSteps) {
                return Axis{static_cast<int>(steps * step), static_cast<int>(step)};
            }
        }
    }
}

ProgressPicture layoutProgress(const ProgressData& data, int width, int height,
                               const TextMeasure& text) {
    ProgressPicture picture;
    picture.width = width;
    picture.height = height;
    const int pad = std::max(2, text.height / 2);
    const std::string day = data.today == noDay ? std::string() : formatDay(data.today);
    const int dayWidth = text.width(day);
    const int headingBottom = pad + text.height;
    picture.heading.push_back(
        {Area{pad, pad, std::max(pad, width - pad - dayWidth - text.height), headingBottom},
         data.deckName, Align::left, Ink::text, true});
    picture.heading.push_back({Area{width - pad - dayWidth, pad, width - pad, headingBottom}, day,
                               Align::right, Ink::quietText, false});
    const int top = headingBottom + pad;
    const int each = std::max(0, (height - top) / 3);
    const std::array<ChartSeries, 3> seriesOfCharts = seriesOfEachChart(data);
    for (std::size_t index = 0; index < seriesOfCharts.size(); ++index) {
        const int chartTop = top + static_cast<int>(index) * each;
        const Area frame{pad, chartTop, std::max(pad, width - pad),
                         chartTop + std::max(0, each - pad)};
        picture.charts[index] = layoutChart(seriesOfCharts[index], frame, text);
    }
    return picture;
}
