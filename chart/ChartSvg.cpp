#include "chart/ChartSvg.h"

#include "chart/ChartLayout.h"
#include "platform/TextCoding.h"

namespace {

constexpr int svgWidth = 720;
constexpr int svgHeight = 840;
constexpr int fontSize = 14;
constexpr int lineHeight = 18;
// From the top of a line to its baseline.
constexpr int baseline = 14;

// A browser's sans-serif face is not known here: widths are estimated a little
// wide, so that labels laid out as fitting do fit.
int estimatedWidth(std::string_view text) {
    int characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 1;
    }
    return (characters * fontSize * 62 + 99) / 100;
}

const char* colourOf(Ink ink) {
    switch (ink) {
        case Ink::text:
            return "#1a1a1a";
        case Ink::quietText:
            return "#595959";
        case Ink::axis:
            return "#404040";
        case Ink::grid:
            return "#d9d9d9";
        case Ink::bar:
            return "#2f6db5";
        case Ink::up:
            return "#2e8540";
        case Ink::back:
            return "#c0392b";
        case Ink::right:
            return "#6a1b9a";
        case Ink::drawn:
            break;
    }
    return "#e0a020";
}

void appendArea(std::string& svg, const Area& area) {
    svg += "x=\"" + std::to_string(area.left) + "\" y=\"" + std::to_string(area.top) +
           "\" width=\"" + std::to_string(area.width()) + "\" height=\"" +
           std::to_string(area.height()) + "\"";
}

void appendLabel(std::string& svg, const Label& label) {
    const int x = label.align == Align::left    ? label.area.left
                  : label.align == Align::right ? label.area.right
                                                : (label.area.left + label.area.right) / 2;
    const char* anchor = label.align == Align::left    ? "start"
                         : label.align == Align::right ? "end"
                                                       : "middle";
    const int top = (label.area.top + label.area.bottom - lineHeight) / 2;
    svg += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(top + baseline) +
           "\" text-anchor=\"" + anchor + "\" fill=\"" + colourOf(label.ink) + "\"" +
           (label.bold ? " font-weight=\"bold\"" : "") + ">" + xmlEscaped(label.text) + "</text>\n";
}

void appendRule(std::string& svg, const Rule& rule, const char* width) {
    svg += "<line x1=\"" + std::to_string(rule.x1) + "\" y1=\"" + std::to_string(rule.y1) +
           "\" x2=\"" + std::to_string(rule.x2) + "\" y2=\"" + std::to_string(rule.y2) +
           "\" stroke=\"" + colourOf(rule.ink) + "\"" + width + "/>\n";
}

void appendChart(std::string& svg, const ChartPicture& chart) {
    svg += "<g>\n<title>" + xmlEscaped(chart.title) + "</title>\n";
    for (const Rule& rule : chart.rules) {
        appendRule(svg, rule, "");
    }
    for (const Bar& bar : chart.bars) {
        svg += "<rect ";
        appendArea(svg, bar.area);
        svg += " fill=\"" + std::string(colourOf(bar.ink)) + "\"/>\n";
    }
    for (const Rule& tick : chart.ticks) {
        appendRule(svg, tick, " stroke-width=\"3\"");
    }
    for (const Label& label : chart.labels) {
        appendLabel(svg, label);
    }
    svg += "</g>\n";
}

}  // namespace

std::string xmlEscaped(std::string_view text) {
    std::string valid;
    appendValidUtf8(valid, text);
    std::string escaped;
    for (const char c : valid) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&apos;";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
                    escaped += c;
                }
        }
    }
    return escaped;
}

std::string progressSvg(const ProgressData& data) {
    const ProgressPicture picture =
        layoutProgress(data, svgWidth, svgHeight, TextMeasure{lineHeight, estimatedWidth});
    const std::string width = std::to_string(picture.width);
    const std::string height = std::to_string(picture.height);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
        width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
        "\" font-family=\"sans-serif\" font-size=\"" + std::to_string(fontSize) +
        "\">\n<rect width=\"" + width + "\" height=\"" + height + "\" fill=\"#ffffff\"/>\n";
    for (const Label& label : picture.heading) {
        appendLabel(svg, label);
    }
    for (const ChartPicture& chart : picture.charts) {
        appendChart(svg, chart);
    }
    svg += "</svg>\n";
    return svg;
}
