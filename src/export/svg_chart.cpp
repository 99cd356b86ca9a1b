#include "export/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr double pictureWidth = 1000;
constexpr double plotLeft = 70;
constexpr double plotRight = 820;
constexpr double legendLeft = 840;
constexpr double arrowRow = 22;  // above the values of a panel with wind arrows
constexpr double arrowLength = 12;
constexpr double valueInset = 5;
constexpr double zeroBarHeight = 1.6;
// Characters of a title line and of a note line that fit the picture's width.
constexpr std::size_t titleLineLength = 76;
constexpr std::size_t noteLineLength = 130;

// Colours that differ in grey as well, each with its own dash and point shape.
struct ChartStyle {
    const char* colour;
    const char* dash;  // empty: solid
    const char* shape;
};
constexpr ChartStyle chartStyles[chartStyleCount] = {
    {"#c0392b", "", "circle"},          {"#1f5fa8", "7 3", "square"}, {"#2e8b3a", "2 3", "diamond"},
    {"#7d3c98", "9 3 2 3", "triangle"}, {"#d35400", "4 2", "circle"}, {"#555555", "1 2", "square"},
};

const ChartStyle& styleOf(const ChartSeries& series) {
    return chartStyles[std::clamp(series.style, 0, chartStyleCount - 1)];
}

std::optional<double> finite(const std::optional<double>& value) {
    if (value && std::isfinite(*value)) {
        return value;
    }
    return std::nullopt;
}

std::optional<double> valueAt(const std::vector<std::optional<double>>& values, std::size_t i) {
    return i < values.size() ? finite(values[i]) : std::nullopt;
}

// A step of 1, 2, 2.5 or 5 times a power of ten giving about `wanted` ticks.
double tickStep(double range, int wanted) {
    const double rough = range / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

int decimalsOf(double step) {
    int decimals = 0;
    double scaled = step;
    while (decimals < 6 && std::fabs(scaled - std::round(scaled)) > 1e-6 * std::fabs(scaled)) {
        scaled *= 10;
        ++decimals;
    }
    return decimals;
}

std::string tickLabel(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string label = text;
    if (label.find_first_not_of("-0.") == std::string::npos) {
        label = decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0');
    }
    return label;
}

struct YScale {
    double low = 0;
    double high = 1;
    double step = 0.2;
    double top = 0;  // where `high` is drawn
    double bottom = 0;
    bool shown = true;

    double at(double value) const {
        const double y = bottom - (value - low) / (high - low) * (bottom - top);
        return std::clamp(y, top, bottom);
    }
};

bool hasMark(const ChartPanel& panel, ChartMark mark) {
    return std::any_of(panel.series.begin(), panel.series.end(),
                       [&](const ChartSeries& s) { return s.mark == mark; });
}

YScale yScaleOf(const ChartPanel& panel, double top, double bottom) {
    YScale scale;
    // Values stay a few points inside the frame, so one at the end of the axis shows whole.
    scale.top = top + valueInset + (hasMark(panel, ChartMark::windArrows) ? arrowRow : 0);
    scale.bottom = bottom - valueInset;
    double low = INFINITY;
    double high = -INFINITY;
    const auto take = [&](const std::optional<double>& value) {
        if (const std::optional<double> v = finite(value)) {
            low = std::min(low, *v);
            high = std::max(high, *v);
        }
    };
    bool onlyStrip = true;
    for (const ChartSeries& series : panel.series) {
        if (series.mark == ChartMark::cloudStrip || series.mark == ChartMark::windArrows) {
            continue;
        }
        onlyStrip = false;
        for (const std::optional<double>& value : series.y) {
            take(value);
        }
        if (series.mark == ChartMark::band) {
            for (const std::optional<double>& value : series.extra) {
                take(value);
            }
        }
        if (series.mark == ChartMark::bars) {
            take(0.0);
        }
    }
    if (panel.markZero) {
        take(0.0);
    }
    if (onlyStrip) {
        scale.shown = false;
        return scale;
    }
    low = panel.yMin.value_or(low);
    high = panel.yMax.value_or(high);
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0;
        high = 1;
    }
    if (high - low < 1e-9 * std::max(1.0, std::fabs(high))) {
        // A flat series: an axis around it that crosses 0 only when the values do.
        low = low >= 0 ? std::max(0.0, low - 1) : low - 1;
        high = high <= 0 && low < 0 ? std::min(0.0, high + 1) : high + 1;
        if (high - low < 1e-9) {
            high = low + 1;
        }
    }
    scale.step = tickStep(high - low, 5);
    scale.low = panel.yMin ? low : std::floor(low / scale.step) * scale.step;
    scale.high = panel.yMax ? high : std::ceil(high / scale.step) * scale.step;
    return scale;
}

struct XScale {
    double low;
    double high;
    double at(double value) const {
        const double span = high > low ? high - low : 1;
        return std::clamp(plotLeft + (value - low) / span * (plotRight - plotLeft), plotLeft,
                          plotRight);
    }
};

std::string point(double x, double y) {
    return svgNumber(x) + "," + svgNumber(y);
}

std::string shapeAt(const char* shape, double x, double y, const char* colour) {
    const std::string fill = std::string(" fill=\"") + colour + "\"/>\n";
    if (std::string_view(shape) == "square") {
        return "<rect x=\"" + svgNumber(x - 2.5) + "\" y=\"" + svgNumber(y - 2.5) +
               "\" width=\"5\" height=\"5\"" + fill;
    }
    if (std::string_view(shape) == "diamond") {
        return "<polygon points=\"" + point(x, y - 3.5) + " " + point(x + 3.5, y) + " " +
               point(x, y + 3.5) + " " + point(x - 3.5, y) + "\"" + fill;
    }
    if (std::string_view(shape) == "triangle") {
        return "<polygon points=\"" + point(x, y - 3.5) + " " + point(x + 3.2, y + 2.5) + " " +
               point(x - 3.2, y + 2.5) + "\"" + fill;
    }
    return "<circle cx=\"" + svgNumber(x) + "\" cy=\"" + svgNumber(y) + "\" r=\"2.8\"" + fill;
}

std::string strokeOf(const ChartStyle& style, double width, bool faint) {
    std::string stroke = std::string(" fill=\"none\" stroke=\"") + style.colour +
                         "\" stroke-width=\"" + svgNumber(width) + "\"";
    // Faint lines stay solid: their dashes would clutter what lies in front of them.
    if (*style.dash != '\0' && !faint) {
        stroke += std::string(" stroke-dasharray=\"") + style.dash + "\"";
    }
    if (faint) {
        stroke += " stroke-opacity=\"0.35\"";
    }
    return stroke;
}

// A shade from clear to overcast, blue-grey so that a clear sky is not white paper.
std::string cloudColour(double cover) {
    const double c = std::clamp(cover, 0.0, 1.0);
    const auto mix = [&](int clear, int overcast) {
        return static_cast<int>(std::lround(clear + (overcast - clear) * c));
    };
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", mix(0xe4, 0x44), mix(0xef, 0x5c),
                  mix(0xfb, 0x7c));
    return text;
}

std::string drawLine(const ChartSeries& series, const XScale& xs, const YScale& ys) {
    const ChartStyle& style = styleOf(series);
    const bool faint = series.mark == ChartMark::faintLine;
    std::string path;
    std::string points;
    bool drawing = false;
    for (std::size_t i = 0; i < series.x.size(); ++i) {
        const std::optional<double> y = valueAt(series.y, i);
        if (!y) {
            drawing = false;  // a missing value breaks the line
            continue;
        }
        const double px = xs.at(series.x[i]);
        const double py = ys.at(*y);
        path += (drawing ? " L" : (path.empty() ? "M" : " M")) + point(px, py);
        drawing = true;
        if (!faint) {
            points += shapeAt(style.shape, px, py, style.colour);
        }
    }
    if (path.empty()) {
        return {};
    }
    return "<path d=\"" + path + "\"" + strokeOf(style, faint ? 1 : 2, faint) + "/>\n" + points;
}

// Bars side by side: the first of a place dark, the next pale, so they part in grey too.
const char* barOpacity(int place) {
    return place % 2 == 0 ? "0.85" : "0.3";
}

// The narrowest gap between neighbouring places, the width one bar group may take.
double slotWidth(const std::vector<double>& x, const XScale& xs) {
    double slot = plotRight - plotLeft;
    for (std::size_t i = 1; i < x.size(); ++i) {
        slot = std::min(slot, std::fabs(xs.at(x[i]) - xs.at(x[i - 1])));
    }
    return x.size() > 1 ? slot : 20;
}

std::string drawBars(const ChartSeries& series, const XScale& xs, const YScale& ys, int place,
                     int barSeries) {
    const ChartStyle& style = styleOf(series);
    const bool ownWidth = series.barWidth > 0;
    const double width = ownWidth ? xs.at(xs.low + series.barWidth) - xs.at(xs.low)
                                  : slotWidth(series.x, xs) * 0.8 / barSeries;
    const double base = ys.at(std::clamp(0.0, ys.low, ys.high));
    std::string bars;
    for (std::size_t i = 0; i < series.x.size(); ++i) {
        const std::optional<double> y = valueAt(series.y, i);
        if (!y) {
            continue;
        }
        const double left = ownWidth ? xs.at(series.x[i]) - width / 2
                                     : xs.at(series.x[i]) - width * barSeries / 2 + width * place;
        // A zero is a flat mark on the axis, so that it differs from a value not given.
        const double length = std::fabs(base - ys.at(*y));
        const double height = std::max(zeroBarHeight, length);
        const double top =
            length < zeroBarHeight ? base - zeroBarHeight / 2 : std::min(base, ys.at(*y));
        bars += "<rect x=\"" + svgNumber(left) + "\" y=\"" + svgNumber(top) + "\" width=\"" +
                svgNumber(width) + "\" height=\"" + svgNumber(height) + "\" fill=\"" +
                style.colour + "\" fill-opacity=\"" + barOpacity(place) + "\" stroke=\"" +
                style.colour + "\" stroke-width=\"0.8\"/>\n";
    }
    return bars;
}

std::string drawBand(const ChartSeries& series, const XScale& xs, const YScale& ys) {
    std::string shapes;
    std::vector<std::string> upper;
    std::vector<std::string> lower;
    const auto close = [&] {
        if (!upper.empty()) {
            std::string points;
            for (const std::string& p : upper) {
                points += (points.empty() ? "" : " ") + p;
            }
            for (auto p = lower.rbegin(); p != lower.rend(); ++p) {
                points += " " + *p;
            }
            shapes +=
                "<polygon points=\"" + points + "\" fill=\"#808080\" fill-opacity=\"0.28\"/>\n";
        }
        upper.clear();
        lower.clear();
    };
    for (std::size_t i = 0; i < series.x.size(); ++i) {
        const std::optional<double> low = valueAt(series.y, i);
        const std::optional<double> high = valueAt(series.extra, i);
        if (!low || !high) {
            close();
            continue;
        }
        const double px = xs.at(series.x[i]);
        upper.push_back(point(px, ys.at(*high)));
        lower.push_back(point(px, ys.at(*low)));
    }
    close();
    return shapes;
}

std::string drawStrip(const ChartSeries& series, const XScale& xs, double top, double bottom) {
    std::string cells;
    const std::size_t count = series.x.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<double> cover = valueAt(series.y, i);
        if (!cover) {
            continue;
        }
        const double here = xs.at(series.x[i]);
        const double before = i > 0 ? (xs.at(series.x[i - 1]) + here) / 2 : plotLeft;
        const double after = i + 1 < count ? (here + xs.at(series.x[i + 1])) / 2 : plotRight;
        cells += "<rect x=\"" + svgNumber(before) + "\" y=\"" + svgNumber(top) + "\" width=\"" +
                 svgNumber(after - before) + "\" height=\"" + svgNumber(bottom - top) +
                 "\" fill=\"" + cloudColour(*cover) + "\"/>\n";
    }
    return cells;
}

std::string arrowAt(double x, double y, double fromDegrees, const char* colour) {
    // A wind from the north blows to the south: down the page.
    const double to = (fromDegrees + 180.0) * std::numbers::pi / 180.0;
    const double ux = std::sin(to);
    const double uy = -std::cos(to);
    const double tipX = x + ux * arrowLength / 2;
    const double tipY = y + uy * arrowLength / 2;
    const double baseX = tipX - ux * 5;
    const double baseY = tipY - uy * 5;
    return "<path d=\"M" + point(x - ux * arrowLength / 2, y - uy * arrowLength / 2) + " L" +
           point(baseX, baseY) + "\" stroke=\"" + colour + "\" stroke-width=\"1.3\"/>\n" +
           "<polygon points=\"" + point(tipX, tipY) + " " + point(baseX - uy * 3, baseY + ux * 3) +
           " " + point(baseX + uy * 3, baseY - ux * 3) + "\" fill=\"" + colour + "\"/>\n";
}

std::string drawArrows(const ChartSeries& series, const XScale& xs, double top) {
    const ChartStyle& style = styleOf(series);
    std::string arrows;
    for (std::size_t i = 0; i < series.x.size(); ++i) {
        const std::optional<double> from = valueAt(series.extra, i);
        if (from && valueAt(series.y, i)) {
            arrows += arrowAt(xs.at(series.x[i]), top + arrowRow / 2, *from, style.colour);
        }
    }
    return arrows;
}

std::string text(double x, double y, const std::string& words, const char* attributes = "") {
    return "<text x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y) + "\"" + attributes + ">" +
           xmlEscaped(words) + "</text>\n";
}

std::string legendGlyph(const ChartSeries& series, double x, double y, int barPlace) {
    const ChartStyle& style = styleOf(series);
    switch (series.mark) {
        case ChartMark::bars:
            return "<rect x=\"" + svgNumber(x + 5) + "\" y=\"" + svgNumber(y - 6) +
                   "\" width=\"12\" height=\"10\" fill=\"" + style.colour + "\" fill-opacity=\"" +
                   barOpacity(barPlace) + "\" stroke=\"" + style.colour +
                   "\" stroke-width=\"0.8\"/>\n";
        case ChartMark::band:
            return "<rect x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y - 6) +
                   "\" width=\"22\" height=\"10\" fill=\"#808080\" fill-opacity=\"0.28\"/>\n";
        case ChartMark::cloudStrip: {
            std::string swatches;
            for (int step = 0; step < 5; ++step) {
                swatches += "<rect x=\"" + svgNumber(x + step * 4.4) + "\" y=\"" +
                            svgNumber(y - 6) + "\" width=\"4.4\" height=\"10\" fill=\"" +
                            cloudColour(step / 4.0) + "\"/>\n";
            }
            return swatches;
        }
        case ChartMark::windArrows:
            return arrowAt(x + 11, y - 1, 270, style.colour);
        case ChartMark::faintLine:
        case ChartMark::line:
            break;
    }
    const bool faint = series.mark == ChartMark::faintLine;
    // A faint line's colour in full, so that the legend tells each one apart.
    const std::string stroke =
        faint ? std::string(" fill=\"none\" stroke=\"") + style.colour + "\" stroke-width=\"2\""
              : strokeOf(style, 2, false);
    std::string glyph =
        "<path d=\"M" + point(x, y - 1) + " H" + svgNumber(x + 22) + "\"" + stroke + "/>\n";
    if (!faint) {
        glyph += shapeAt(style.shape, x + 11, y - 1, style.colour);
    }
    return glyph;
}

// How far under the plotting area the axis' name stands: below every line of the labels.
double xLabelDrop(const ChartPanel& panel) {
    std::size_t lines = 1;
    for (const std::string& label : panel.xTickLabels) {
        lines = std::max(
            lines, 1 + static_cast<std::size_t>(std::count(label.begin(), label.end(), '\n')));
    }
    return 18 + 13 * static_cast<double>(lines);
}

bool holdsValues(const ChartPanel& panel) {
    for (const ChartSeries& series : panel.series) {
        for (std::size_t i = 0; i < series.x.size(); ++i) {
            if (valueAt(series.y, i)) {
                return true;
            }
        }
    }
    return false;
}

// Lines of a tick label, one under the other.
std::string tickText(double x, double y, const std::string& label) {
    std::string lines;
    std::size_t start = 0;
    double at = y;
    while (start <= label.size()) {
        const std::size_t end = std::min(label.find('\n', start), label.size());
        lines += text(x, at, label.substr(start, end - start),
                      " font-size=\"11\" text-anchor=\"middle\"");
        at += 13;
        start = end + 1;
    }
    return lines;
}

// The x axis under a panel: the day lines across it, the ticks with their labels, its name.
std::string drawXAxis(const ChartPanel& panel, const XScale& xs, double top, double bottom) {
    std::string svg;
    std::string dayLines;
    for (const double boundary : panel.xDayLines) {
        if (boundary > xs.low && boundary < xs.high) {
            dayLines += "M" + point(xs.at(boundary), top) + " V" + svgNumber(bottom) + " ";
        }
    }
    if (!dayLines.empty()) {
        dayLines.pop_back();
        svg += "<path class=\"day-boundary\" d=\"" + dayLines +
               "\" stroke=\"#9a9a9a\" stroke-width=\"0.8\" stroke-dasharray=\"3 3\"/>\n";
    }

    std::string ticks;
    for (std::size_t i = 0; i < panel.xTicks.size(); ++i) {
        const double tick = panel.xTicks[i];
        const double x = xs.at(tick);
        ticks += "M" + point(x, bottom) + " V" + svgNumber(bottom + 4) + " ";
        svg += tickText(x, bottom + 16,
                        i < panel.xTickLabels.size()
                            ? panel.xTickLabels[i]
                            : tickLabel(tick, decimalsOf(tick == 0 ? 1 : tick)));
    }
    if (!ticks.empty()) {
        ticks.pop_back();
        svg += "<path d=\"" + ticks + "\" stroke=\"#444444\" stroke-width=\"1\"/>\n";
    }
    svg += text((plotLeft + plotRight) / 2, bottom + xLabelDrop(panel), panel.xLabel,
                " font-size=\"11\" text-anchor=\"middle\"");
    return svg;
}

std::string drawPanel(const ChartPanel& panel, double top, int number) {
    const double bottom = top + panel.height;
    const XScale xs{panel.xMin, panel.xMax};
    const bool empty = !holdsValues(panel);
    const YScale ys = yScaleOf(panel, top, bottom);
    std::string svg = "<g id=\"panel-" + std::to_string(number) + "\">\n";
    svg += text(plotLeft, top - 8, panel.title, " font-size=\"13\" font-weight=\"bold\"");
    svg += std::string("<rect class=\"") + (empty ? "frame empty" : "frame") + "\" x=\"" +
           svgNumber(plotLeft) + "\" y=\"" + svgNumber(top) + "\" width=\"" +
           svgNumber(plotRight - plotLeft) + "\" height=\"" + svgNumber(panel.height) +
           "\" fill=\"#ffffff\" stroke=\"none\"/>\n";

    if (ys.shown && !empty) {
        std::string grid;
        std::string labels;
        const int decimals = decimalsOf(ys.step);
        const int steps = static_cast<int>(std::lround((ys.high - ys.low) / ys.step));
        for (int i = 0; i <= steps && steps <= 50; ++i) {
            const double value = ys.low + i * ys.step;
            const double y = ys.at(value);
            grid += "M" + point(plotLeft, y) + " H" + svgNumber(plotRight) + " ";
            labels += text(plotLeft - 6, y + 4, tickLabel(value, decimals),
                           " font-size=\"11\" text-anchor=\"end\"");
        }
        if (!grid.empty()) {
            grid.pop_back();
            svg += "<path d=\"" + grid + "\" stroke=\"#d4d4d4\" stroke-width=\"0.6\"/>\n";
        }
        svg += labels;
        if (panel.markZero && ys.low < 0 && ys.high > 0) {
            svg += "<path d=\"M" + point(plotLeft, ys.at(0)) + " H" + svgNumber(plotRight) +
                   "\" stroke=\"#000000\" stroke-width=\"1.2\"/>\n";
        }
    }

    svg += drawXAxis(panel, xs, top, bottom);
    if (empty) {
        svg += text((plotLeft + plotRight) / 2, top + panel.height / 2 + 5,
                    panel.emptyNote.empty() ? "no data" : "no data: " + panel.emptyNote,
                    " class=\"no-data\" font-size=\"13\" text-anchor=\"middle\" fill=\"#555555\"");
        svg += "<rect x=\"" + svgNumber(plotLeft) + "\" y=\"" + svgNumber(top) + "\" width=\"" +
               svgNumber(plotRight - plotLeft) + "\" height=\"" + svgNumber(panel.height) +
               "\" fill=\"none\" stroke=\"#444444\" stroke-width=\"1\"/>\n";
        return svg + "</g>\n";
    }

    // Shapes under lines, faint lines under the rest.
    int barSeries = 0;
    for (const ChartSeries& series : panel.series) {
        barSeries += series.mark == ChartMark::bars ? 1 : 0;
    }
    for (const ChartMark layer : {ChartMark::cloudStrip, ChartMark::band, ChartMark::bars,
                                  ChartMark::faintLine, ChartMark::line, ChartMark::windArrows}) {
        int place = 0;
        for (const ChartSeries& series : panel.series) {
            if (series.mark != layer) {
                continue;
            }
            switch (layer) {
                case ChartMark::cloudStrip:
                    svg += drawStrip(series, xs, top, bottom);
                    break;
                case ChartMark::band:
                    svg += drawBand(series, xs, ys);
                    break;
                case ChartMark::bars:
                    svg += drawBars(series, xs, ys, place++, barSeries);
                    break;
                case ChartMark::windArrows:
                    svg += drawArrows(series, xs, top);
                    break;
                case ChartMark::faintLine:
                case ChartMark::line:
                    svg += drawLine(series, xs, ys);
                    break;
            }
        }
    }
    svg += "<rect x=\"" + svgNumber(plotLeft) + "\" y=\"" + svgNumber(top) + "\" width=\"" +
           svgNumber(plotRight - plotLeft) + "\" height=\"" + svgNumber(panel.height) +
           "\" fill=\"none\" stroke=\"#444444\" stroke-width=\"1\"/>\n";

    double legendY = top + 10;
    int barPlace = 0;
    for (const ChartSeries& series : panel.series) {
        const int place = series.mark == ChartMark::bars ? barPlace++ : 0;
        if (series.label.empty()) {
            continue;
        }
        bool drawn = false;
        for (std::size_t i = 0; i < series.x.size() && !drawn; ++i) {
            drawn = valueAt(series.y, i).has_value();
        }
        svg += legendGlyph(series, legendLeft, legendY, place);
        svg += text(legendLeft + 28, legendY + 3, series.label + (drawn ? "" : " (no data)"),
                    " font-size=\"11\"");
        legendY += 16;
    }
    return svg + "</g>\n";
}

// A file name need not be UTF-8, but an XML file must be: a byte that begins no whole
// sequence becomes '?'.
std::string wholeUtf8(const std::string& bytes) {
    std::string whole;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80                   ? 1
                                   : lead >= 0xc2 && lead < 0xe0 ? 2
                                   : lead >= 0xe0 && lead < 0xf0 ? 3
                                   : lead >= 0xf0 && lead < 0xf5 ? 4
                                                                 : 0;
        bool fits = length > 0 && i + length <= bytes.size();
        for (std::size_t k = 1; fits && k < length; ++k) {
            fits = (static_cast<unsigned char>(bytes[i + k]) & 0xc0) == 0x80;
        }
        if (fits) {
            whole.append(bytes, i, length);
            i += length;
        } else {
            whole += '?';
            ++i;
        }
    }
    return whole;
}

}  // namespace

std::vector<std::string> wrapped(const std::string& words, std::size_t length) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < words.size()) {
        std::size_t end = words.find(' ', at);
        if (end == std::string::npos) {
            end = words.size();
        }
        const std::string word = words.substr(at, end - at);
        if (!line.empty() && line.size() + 1 + word.size() > length) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    if (!line.empty() || lines.empty()) {
        lines.push_back(line);
    }
    return lines;
}

std::string svgNumber(double value) {
    double rounded = std::round(value * 10.0) / 10.0;
    if (rounded == 0 || !std::isfinite(rounded)) {
        rounded = 0;
    }
    char number[64];
    std::snprintf(number, sizeof number, "%.1f", rounded);
    std::string written = number;
    if (written.size() > 2 && written.compare(written.size() - 2, 2, ".0") == 0) {
        written.resize(written.size() - 2);
    }
    return written;
}

std::string xmlEscaped(const std::string& words) {
    std::string escaped;
    for (const char c : words) {
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
            default:
                // Control characters have no place in XML 1.0 text.
                escaped += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        }
    }
    return wholeUtf8(escaped);
}

std::string chartSvg(const Chart& chart) {
    std::string body;
    double y = 26;
    for (const std::string& line : wrapped(chart.title, titleLineLength)) {
        body += text(plotLeft, y, line, " font-size=\"17\" font-weight=\"bold\"");
        y += 21;
    }
    y -= 1;
    for (const std::string& note : chart.notes) {
        for (const std::string& line : wrapped(note, noteLineLength)) {
            body += text(plotLeft, y, line, " font-size=\"12\"");
            y += 16;
        }
    }
    y += 22;
    int number = 1;
    for (const ChartPanel& panel : chart.panels) {
        body += drawPanel(panel, y, number++);
        y += panel.height + 31 + xLabelDrop(panel);
    }
    const double height = y - 20;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           svgNumber(pictureWidth) + "\" height=\"" + svgNumber(height) + "\" viewBox=\"0 0 " +
           svgNumber(pictureWidth) + " " + svgNumber(height) +
           "\" font-family=\"sans-serif\">\n<title>" + xmlEscaped(chart.title) +
           "</title>\n<rect width=\"100%\" height=\"100%\" fill=\"#f7f7f7\"/>\n" + body +
           "</svg>\n";
}
