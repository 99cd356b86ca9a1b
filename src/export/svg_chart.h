#pragma once

#include <optional>
#include <string>
#include <vector>

// A picture of stacked panels drawn as a self-contained SVG 1.1 file: no script, no font
// but the generic sans-serif, every number rounded to one decimal so the same values
// always give the same bytes.

/// How a series is drawn.
enum class ChartMark {
    line,        // a line with a point at each value
    faintLine,   // a thin pale line behind the others, no points
    bars,        // a bar from 0 up to each value
    band,        // a shaded area from each value up to its `extra`
    cloudStrip,  // a strip shaded from clear (0) to overcast (1)
    windArrows,  // an arrow at each value's place pointing where a wind from `extra`
                 // degrees blows to, in a row along the top of the panel
};

/// One series: its place on the x axis, its values (empty where there is none) and, for a
/// band or arrows, a second value each.
struct ChartSeries {
    std::string label;  // in the legend; an empty label has no legend entry
    ChartMark mark = ChartMark::line;
    int style = 0;  // the colour, dash and point shape, 0 to chartStyleCount - 1
    std::vector<double> x;
    std::vector<std::optional<double>> y;
    std::vector<std::optional<double>> extra;
    double barWidth = 0;  // bars this wide on the x axis, centred on their place; 0: the
                          // bars of a panel share the gap between places
};

inline constexpr int chartStyleCount = 6;

/// One panel with its own axes.
struct ChartPanel {
    std::string title;
    std::string xLabel;
    double xMin = 0;
    double xMax = 1;
    std::vector<double> xTicks;
    std::vector<std::string> xTickLabels;  // a label per tick, lines parted by '\n'; when
                                           // empty, the ticks' own numbers
    std::vector<double> xDayLines;         // a faint line across the panel at each
    std::vector<ChartSeries> series;
    std::string emptyNote;       // after "no data" when the panel has no value to draw
    std::optional<double> yMin;  // a fixed range; otherwise the values' own
    std::optional<double> yMax;
    bool markZero = false;  // a stronger line at 0
    double height = 150;    // of the plotting area
};

/// The whole picture: a title, lines of notes under it, the panels from the top down.
struct Chart {
    std::string title;
    std::vector<std::string> notes;
    std::vector<ChartPanel> panels;
};

/// The chart as the text of an SVG file. Each panel's plotting area is framed by a rect of
/// class "frame", so a check can find it; a panel without a value to draw has class "frame
/// empty", says "no data" and has no legend.
std::string chartSvg(const Chart& chart);

/// `words` parted at blanks into lines of at most `length` characters (a longer word
/// stands alone on its line); one empty line for no words.
std::vector<std::string> wrapped(const std::string& words, std::size_t length);

/// `value` rounded to one decimal, without a trailing ".0" and never "-0".
std::string svgNumber(double value);

/// `text` with the characters XML gives a meaning to written as references.
std::string xmlEscaped(const std::string& text);
