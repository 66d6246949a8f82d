#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/ProgressData.h"

// The progress charts laid out for one size of picture, as plain shapes that
// both the program's window and the card tool's SVG draw as they are: the
// decisions (scales, ticks, which labels fit) are made here once.

// What a shape is drawn in; each way of drawing maps it to colours of its own.
// `right` marks the typed answers right on the first try: a tick across a day's
// bar rather than a part of it, as they are checks, not cards moved.
enum class Ink : std::uint8_t { text, quietText, axis, grid, bar, up, back, drawn, right };

struct Area {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

enum class Align : std::uint8_t { left, center, right };

// A line of text, vertically centred in its area and aligned within it.
struct Label {
    Area area;
    std::string text;  // UTF-8
    Align align = Align::left;
    Ink ink = Ink::text;
    bool bold = false;
};

struct Bar {
    Area area;
    Ink ink = Ink::bar;
};

struct Rule {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    Ink ink = Ink::axis;
};

struct ChartPicture {
    std::string title;
    Area frame;
    std::vector<Bar> bars;
    std::vector<Label> labels;  // the title first
    std::vector<Rule> rules;
    // Drawn over the bars, and thicker than the rules.
    std::vector<Rule> ticks;
};

constexpr std::string_view boxesTitle = "Boxes";
constexpr std::string_view dueTitle = "Due in the next 30 days";
constexpr std::string_view learnedTitle = "Learned per day";

struct ProgressPicture {
    int width = 0;
    int height = 0;
    std::vector<Label> heading;          // the deck's name and the day
    std::array<ChartPicture, 3> charts;  // boxes, due, learned
};

// The text the picture is drawn with: the height of a line and the width of a text.
struct TextMeasure {
    int height;
    std::function<int(std::string_view)> width;
};

// A value axis from 0 to `top` in steps of 1, 2 or 5 times a power of ten, at most
// `mostSteps` of them, with `top` the first step at or above `largest`.
struct Axis {
    int top;
    int step;
};
Axis niceAxis(int largest, int mostSteps);

// The three charts one above the other in a picture of `width` by `height`.
ProgressPicture layoutProgress(const ProgressData& data, int width, int height,
                               const TextMeasure& text);
