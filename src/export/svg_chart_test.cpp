#include "export/svg_chart.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

namespace {

ChartPanel panelWith(ChartSeries series) {
    ChartPanel panel;
    panel.xMin = 0;
    panel.xMax = 10;
    panel.series = {std::move(series)};
    return panel;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

}  // namespace

TEST(SvgChart, NumbersAreRoundedToOneDecimalWithoutNegativeZero) {
    EXPECT_EQ(svgNumber(12.345), "12.3");
    EXPECT_EQ(svgNumber(12.96), "13");
    EXPECT_EQ(svgNumber(-0.04), "0");
    EXPECT_EQ(svgNumber(-3.25), "-3.3");
    EXPECT_EQ(svgNumber(70), "70");
}

TEST(SvgChart, TextIsEscapedAndKeptToWholeUtf8) {
    EXPECT_EQ(xmlEscaped("a&b <c> \"d\""), "a&amp;b &lt;c&gt; &quot;d&quot;");
    EXPECT_EQ(xmlEscaped("deg \xc2\xb0"
                         "F"),
              "deg \xc2\xb0"
              "F");
    // A Latin-1 file name and a cut sequence are no UTF-8.
    EXPECT_EQ(xmlEscaped("caf\xe9.txt"), "caf?.txt");
    EXPECT_EQ(xmlEscaped("end\xe2\x82"), "end??");
    EXPECT_EQ(xmlEscaped("tab\there"), "tab?here");
}

TEST(SvgChart, AMissingValueBreaksTheLineAndHasNoPoint) {
    ChartSeries line;
    line.x = {1, 2, 3, 4, 5};
    line.y = {10, 12, std::nullopt, 14, 11};
    Chart chart;
    chart.panels = {panelWith(line)};
    const std::string svg = chartSvg(chart);
    EXPECT_EQ(count(svg, "<circle"), 4u);
    // One path, two pieces: a second move where the value is missing.
    const std::size_t path = svg.rfind("<path d=\"M", svg.find("stroke-width=\"2\""));
    const std::string d = svg.substr(path, svg.find('"', path + 9) - path);
    EXPECT_EQ(count(d, " M"), 1u) << d;
    EXPECT_EQ(count(d, " L"), 2u) << d;
}

TEST(SvgChart, ArrowsPointWhereTheWindBlowsTo) {
    // A north wind blows south, down the page; a west wind blows east, to the right.
    for (const auto& [from, downward, rightward] :
         {std::tuple{0.0, true, false}, std::tuple{270.0, false, true}}) {
        ChartSeries arrows;
        arrows.mark = ChartMark::windArrows;
        arrows.x = {5};
        arrows.y = {10};
        arrows.extra = {from};
        Chart chart;
        chart.panels = {panelWith(arrows)};
        const std::string svg = chartSvg(chart);
        const std::size_t at = svg.find("<path d=\"M", svg.find("class=\"frame\""));
        double tailX = 0, tailY = 0, headX = 0, headY = 0;
        ASSERT_EQ(std::sscanf(svg.c_str() + at, "<path d=\"M%lf,%lf L%lf,%lf", &tailX, &tailY,
                              &headX, &headY),
                  4);
        EXPECT_EQ(headY > tailY + 1, downward) << from;
        EXPECT_EQ(headX > tailX + 1, rightward) << from;
    }
}

TEST(SvgChart, SameValuesGiveTheSameBytesWithNoScript) {
    ChartSeries bars;
    bars.mark = ChartMark::bars;
    bars.label = "P & Q";
    bars.x = {1, 2, 3};
    bars.y = {0.1, 0.25, std::nullopt};
    Chart chart;
    chart.title = "Title <1>";
    chart.panels = {panelWith(bars)};
    const std::string svg = chartSvg(chart);
    EXPECT_EQ(svg, chartSvg(chart));
    EXPECT_EQ(svg.find("<script"), std::string::npos);
    EXPECT_NE(svg.find("font-family=\"sans-serif\""), std::string::npos);
    EXPECT_NE(svg.find("<title>Title &lt;1&gt;</title>"), std::string::npos);
    EXPECT_NE(svg.find(">P &amp; Q</text>"), std::string::npos);
    // Two bars drawn, one legend swatch; the missing third has none.
    EXPECT_EQ(count(svg, "fill-opacity=\"0.85\""), 3u);
}

TEST(SvgChart, BarsStandOnZeroWhenEveryValueIsAboveIt) {
    // Every hour wet: the axis still starts at 0, so a bar's height is its amount.
    ChartSeries wet;
    wet.mark = ChartMark::bars;
    wet.x = {1, 2, 3};
    wet.y = {0.1, 0.3, 0.2};
    Chart chart;
    chart.panels = {panelWith(wet)};
    const std::string svg = chartSvg(chart);
    std::vector<double> heights;
    std::vector<double> bottoms;
    for (std::size_t at = svg.find("<rect x="); at != std::string::npos;
         at = svg.find("<rect x=", at + 1)) {
        const std::string rect = svg.substr(at, svg.find('>', at) - at);
        if (rect.find("fill-opacity=\"0.85\"") == std::string::npos) {
            continue;
        }
        const auto number = [&](const std::string& name) {
            const std::size_t from = rect.find(" " + name + "=\"") + name.size() + 3;
            return std::stod(rect.substr(from, rect.find('"', from) - from));
        };
        heights.push_back(number("height"));
        bottoms.push_back(number("y") + number("height"));
    }
    ASSERT_EQ(heights.size(), 3u) << svg;
    EXPECT_GT(heights[0], 1.0);
    EXPECT_NEAR(heights[1] / heights[0], 3.0, 0.1);
    EXPECT_NEAR(heights[2] / heights[0], 2.0, 0.1);
    EXPECT_NEAR(bottoms[0], bottoms[1], 0.11);
    EXPECT_NEAR(bottoms[0], bottoms[2], 0.11);
}

TEST(SvgChart, AnEmptyPanelSaysNoDataAndAFlatSeriesAtZeroKeepsItsAxisAtZeroAndUp) {
    ChartSeries none;
    none.label = "Precipitation";
    none.mark = ChartMark::bars;
    none.x = {3, 6};
    none.y = {std::nullopt, std::nullopt};
    ChartPanel empty = panelWith(none);
    empty.emptyNote = "Precip is missing";
    Chart chart;
    chart.panels = {empty};
    const std::string svg = chartSvg(chart);
    EXPECT_NE(svg.find("class=\"frame empty\""), std::string::npos);
    EXPECT_NE(svg.find(">no data: Precip is missing</text>"), std::string::npos);
    EXPECT_EQ(svg.find(">Precipitation</text>"), std::string::npos);  // no legend over nothing

    const struct {
        double value;
        const char* lowest;  // the axis' lowest label
        const char* highest;
    } flat[] = {{0, ">0.0</text>", ">1.0</text>"},
                {5, ">4.0</text>", ">6.0</text>"},
                {-2, ">-3.0</text>", ">-1.0</text>"},
                {0.5, ">0.0</text>", ">1.5</text>"}};
    for (const auto& f : flat) {
        ChartSeries zeros;
        zeros.label = "CAPE";
        zeros.x = {3, 6, 9};
        zeros.y = {f.value, f.value, f.value};
        Chart one;
        one.panels = {panelWith(zeros)};
        const std::string drawn = chartSvg(one);
        EXPECT_NE(drawn.find(f.lowest), std::string::npos) << f.value;
        EXPECT_NE(drawn.find(f.highest), std::string::npos) << f.value;
        EXPECT_EQ(drawn.find("class=\"frame empty\""), std::string::npos);
        if (f.value >= 0) {
            EXPECT_EQ(drawn.find(">-"), std::string::npos) << f.value;
        }
    }
}

TEST(SvgChart, LongTitlesWrapAtBlanks) {
    EXPECT_EQ(wrapped("GFS model columns, STATION 725460", 20),
              (std::vector<std::string>{"GFS model columns,", "STATION 725460"}));
    EXPECT_EQ(wrapped("averyveryverylongword x", 10),
              (std::vector<std::string>{"averyveryverylongword", "x"}));
    EXPECT_EQ(wrapped("", 10), std::vector<std::string>{""});
}
