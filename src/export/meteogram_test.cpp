#include "export/meteogram.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tables/missing_values.h"

namespace {

std::vector<std::string> titlesOf(const Chart& chart) {
    std::vector<std::string> titles;
    for (const ChartPanel& panel : chart.panels) {
        titles.push_back(panel.title);
    }
    return titles;
}

std::vector<std::string> labelsOf(const ChartPanel& panel) {
    std::vector<std::string> labels;
    for (const ChartSeries& s : panel.series) {
        labels.push_back(s.label);
    }
    return labels;
}

using Values = std::vector<std::optional<double>>;

}  // namespace

TEST(Meteogram, AModelTableGivesItsPanelsWithNoValueWhereTheFileHadNone) {
    ModelTableRecords records;
    records.dataName = "gfs.txt";
    records.rowCount = 2;
    records.rows[0] = {6, 29.92, 50, 40, 30, 10, 5400, 80, 0.1, 0.5, 270, 11.5};
    records.rows[1] = {12, 29.8, 48, 39, 29, 9, 5390, 85, 0.25, 1, 305, 9};
    records.fileRows = records.rows;
    records.fileRows[1].temp850 = missingValue;  // no 850 mb value and no band
    records.fileRows[1].pressure = missingValue;
    records.fileRows[0].windDir = missingValue;  // a speed without an arrow's direction
    records.upperBand = {53, 52};
    records.lowerBand = {47, 44};
    const Chart chart = modelMeteogram(describeRun(3, records), records);

    EXPECT_EQ(chart.title, "Model columns, gfs.txt, run not given");
    EXPECT_EQ(titlesOf(chart),
              (std::vector<std::string>{"Temperatures (\u00b0F) with the +/- band around 2 m",
                                        "Precipitation per 6 h (in)",
                                        "Wind speed (mph) and direction", "Pressure (inHg)"}));
    struct Case {
        std::size_t panel, series;
        const char* label;
        ChartMark mark;
        Values y, extra;
    };
    const Case cases[] = {
        {0, 0, "+/- band", ChartMark::band, {47, std::nullopt}, {53, std::nullopt}},
        {0, 1, "2 m", ChartMark::line, {50, 48}, {}},
        {0, 2, "850 mb", ChartMark::line, {40, std::nullopt}, {}},
        {0, 3, "700 mb", ChartMark::line, {30, 29}, {}},
        {0, 4, "500 mb", ChartMark::line, {10, 9}, {}},
        {1, 0, "Precipitation per 6 h", ChartMark::bars, {0.1, 0.25}, {}},
        {2, 0, "Wind speed", ChartMark::line, {11.5, 9}, {}},
        {2, 1, "Blowing to", ChartMark::windArrows, {11.5, 9}, {std::nullopt, 305}},
        {3, 0, "Pressure", ChartMark::line, {29.92, std::nullopt}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_LT(c.series, chart.panels[c.panel].series.size());
        const ChartSeries& s = chart.panels[c.panel].series[c.series];
        EXPECT_EQ(s.label, c.label);
        EXPECT_EQ(s.mark, c.mark);
        EXPECT_EQ(s.x, (std::vector<double>{6, 12}));
        EXPECT_EQ(s.y, c.y);
        EXPECT_EQ(s.extra, c.extra);
    }
    EXPECT_EQ(chart.panels[0].series.size(), 5u);
    EXPECT_EQ(chart.panels[3].emptyNote, "Pressure is missing (-9999) in every row");
}

TEST(Meteogram, TheSevereWeatherPanelsNameTheirFields) {
    SevereWeatherRecords records;
    records.dataName = "severe.txt";
    records.title = {"ETA", "HURON", "00Z 10 DEC"};
    records.rowCount = 2;
    records.rows[0] = {0, -2.5, 1, -50, 1200, 60, 20, 45, 90, 3, 4};
    records.rows[1] = {3, -3, 0.5, -20, 1500, 61, 25, 50, 95, 3, 4};
    records.fileRows = records.rows;
    records.fileRows[1].kntc500 = missingValue;
    const Chart chart = severeMeteogram(describeRun(records), records);
    EXPECT_EQ(chart.title, "ETA model severe weather parameters, HURON, run 00Z 10 DEC");
    EXPECT_EQ(titlesOf(chart),
              (std::vector<std::string>{"Convective energy and inhibition (J/kg)",
                                        "Lifted indices (\u00b0C)", "Wind speeds aloft (kt)"}));
    ASSERT_EQ(chart.panels.size(), 3u);
    EXPECT_EQ(labelsOf(chart.panels[0]),
              (std::vector<std::string>{"CAPE (CNV AVBL)", "CIN (CNV INHIB)"}));
    EXPECT_EQ(labelsOf(chart.panels[1]),
              (std::vector<std::string>{"Best 4-layer", "Lifted index"}));
    EXPECT_EQ(labelsOf(chart.panels[2]), (std::vector<std::string>{"900 mb", "500 mb", "250 mb"}));
    EXPECT_EQ(chart.panels[0].series[0].y, (Values{1200, 1500}));
    EXPECT_EQ(chart.panels[1].series[0].y, (Values{-2.5, -3}));
    EXPECT_EQ(chart.panels[2].series[1].y, (Values{45, std::nullopt}));
    EXPECT_TRUE(chart.panels[0].markZero);
    EXPECT_FALSE(chart.panels[2].markZero);
    EXPECT_EQ(chart.panels[2].emptyNote,
              "900MB KNTC, 500MB KNTC and 250MB KNTC are missing (-9999) in every row");
}

TEST(Meteogram, OptionOneDrawsEachStationBehindTheBlend) {
    StationBlendRecords records;
    records.dataName = "bulletins.txt";
    records.date = "12/09/2026";
    records.set = {{"KFSD", "KBKX"}, {0.5, 0.5}};
    for (std::size_t i = 0; i < records.cloudWind.size(); ++i) {
        const int hour = i < shortRangeHours ? 6 + 3 * static_cast<int>(i)
                                             : 72 + 12 * static_cast<int>(i - shortRangeHours);
        records.cloudWind[i] = {hour, 0.5, 27.0, 10};
    }
    records.cloudWindMissing[1].cloudCover = 1;     // a -9999 fed this cell
    records.cloudWindMissing[2].windDirection = 1;  // and this direction
    records.daily[0] = {40, 55, 30, 35, 20, 45};
    records.dailyMissing[0].highTemp = 1;
    records.stationDaily = {records.daily, records.daily};
    records.stationDailyMissing = {records.dailyMissing, records.dailyMissing};
    const Chart chart = blendMeteogram(describeRun(records), records);

    EXPECT_EQ(titlesOf(chart),
              (std::vector<std::string>{
                  "Temperature and dew point (\u00b0F): lows at night, highs by day",
                  "Probability of precipitation in 12 hours (%)", "Cloud cover",
                  "Wind speed (mph) and direction"}));
    ASSERT_EQ(chart.panels.size(), 4u);
    // Four faint lines a station, its id on the first, then the blend's four.
    EXPECT_EQ(labelsOf(chart.panels[0]),
              (std::vector<std::string>{"KFSD", "", "", "", "KBKX", "", "", "", "High temperature",
                                        "Low temperature", "High dew point", "Low dew point"}));
    EXPECT_EQ(chart.panels[0].series[4].mark, ChartMark::faintLine);
    EXPECT_EQ(chart.panels[0].series[8].mark, ChartMark::line);
    EXPECT_EQ(chart.panels[0].series[8].y[0], std::nullopt);  // the marked high
    EXPECT_EQ(chart.panels[0].series[9].y[0], 40);
    EXPECT_EQ(labelsOf(chart.panels[1]),
              (std::vector<std::string>{"12-h PoP, night", "12-h PoP, day"}));
    EXPECT_EQ(chart.panels[1].series[0].y[0], 20);
    EXPECT_EQ(chart.panels[1].series[1].y[0], 45);
    EXPECT_EQ(chart.panels[1].yMax, 100);
    const ChartSeries& cover = chart.panels[2].series.at(0);
    EXPECT_EQ(cover.mark, ChartMark::cloudStrip);
    EXPECT_EQ((Values{cover.y[0], cover.y[1], cover.y[2]}), (Values{0.5, std::nullopt, 0.5}));
    const ChartSeries& arrows = chart.panels[3].series.at(1);
    EXPECT_EQ(arrows.mark, ChartMark::windArrows);
    // The bulletins' tens of degrees become degrees; a marked direction has no arrow.
    EXPECT_EQ((Values{arrows.extra[0], arrows.extra[1], arrows.extra[2]}),
              (Values{270, 270, std::nullopt}));
    EXPECT_EQ(arrows.x.size(), records.cloudWind.size());
}
