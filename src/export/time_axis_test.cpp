#include "export/time_axis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TimeAxis, TicksSuitTheSpanAndFallOnTheUtcClock) {
    const struct {
        double first;
        double last;
        int runHour;
        std::vector<double> ticks;
    } cases[] = {
        // An 18-hour run from 13 UTC: every 3 h at 15, 18, 21, 00 ... UTC.
        {1, 18, 13, {2, 5, 8, 11, 14, 17}},
        {0, 48, 0, {0, 6, 12, 18, 24, 30, 36, 42, 48}},
        {3, 87, 0, {12, 24, 36, 48, 60, 72, 84}},
        // A week from the 12 UTC bulletins: daily at 00 UTC.
        {6, 192, 12, {12, 36, 60, 84, 108, 132, 156, 180}},
    };
    for (const auto& c : cases) {
        ChartPanel panel;
        setTimeAxis(panel, c.first, c.last, RunTime{2021, 3, 11, c.runHour});
        EXPECT_EQ(panel.xTicks, c.ticks) << c.first << " to " << c.last;
        EXPECT_EQ(panel.xTickLabels.size(), panel.xTicks.size());
        EXPECT_EQ(panel.xLabel, "Valid time (UTC)");
    }
}

TEST(TimeAxis, DatesAndWeekdaysUnderEachDaysFirstTickAndALineAtEachMidnight) {
    ChartPanel panel;
    // 00Z 11 MAR 2021 was a Thursday; across the end of February in a leap year too.
    setTimeAxis(panel, 3, 30, RunTime{2021, 3, 11, 0});
    const std::vector<std::string> labels = {"06Z\nThu 11 Mar", "12Z", "18Z", "00Z\nFri 12 Mar",
                                             "06Z"};
    EXPECT_EQ(panel.xTickLabels, labels);
    EXPECT_EQ(panel.xDayLines, std::vector<double>{24});

    ChartPanel leap;
    setTimeAxis(leap, 6, 30, RunTime{2024, 2, 28, 12});
    EXPECT_EQ(leap.xTickLabels.front(), "18Z\nWed 28 Feb");
    EXPECT_EQ(leap.xTickLabels[2], "00Z\nThu 29 Feb");
    EXPECT_EQ(leap.xDayLines, std::vector<double>{12});

    ChartPanel year;
    setTimeAxis(year, 0, 24, RunTime{2026, 12, 31, 18});
    EXPECT_EQ(year.xTickLabels[2], "00Z\nFri 1 Jan");
}

TEST(TimeAxis, WithoutARunTheAxisCountsForecastHours) {
    ChartPanel panel;
    setTimeAxis(panel, 3, 144, std::nullopt);
    EXPECT_EQ(panel.xLabel, "Forecast hour");
    EXPECT_TRUE(panel.xTickLabels.empty());
    EXPECT_TRUE(panel.xDayLines.empty());
    EXPECT_EQ(panel.xTicks.front(), 24);
}

TEST(TimeAxis, DaysOfTheTwelveUtcBulletinsStandAtTheirNightAndDay) {
    // Day 1's low: the night after the run date, 00 to 12 UTC; its high the day after.
    EXPECT_EQ(dayLowHour(1), 18);
    EXPECT_EQ(dayHighHour(1), 30);
    EXPECT_EQ(dayLowHour(7), 162);
    EXPECT_EQ(dayHighHour(7), 174);
}

TEST(TimeAxis, RunsAsFilesAndBulletinsWriteThem) {
    const struct {
        const char* text;
        bool read;
        RunTime run;
    } models[] = {
        {"00Z 11 MAR 2021", true, {2021, 3, 11, 0}},
        {"1330Z 11 MAR 2021 FORECAST", true, {2021, 3, 11, 13}},
        {"12Z 14 MAY 2024", true, {2024, 5, 14, 12}},
        {"24Z 11 MAR 2021", false, {}},
        {"12Z 30 FEB 2021", false, {}},
        {"12 11 MAR 2021", false, {}},
        {"run not given", false, {}},
        {"", false, {}},
    };
    for (const auto& c : models) {
        const std::optional<RunTime> run = readModelRun(c.text);
        ASSERT_EQ(run.has_value(), c.read) << c.text;
        if (run) {
            EXPECT_EQ(run->year, c.run.year) << c.text;
            EXPECT_EQ(run->month, c.run.month) << c.text;
            EXPECT_EQ(run->day, c.run.day) << c.text;
            EXPECT_EQ(run->hour, c.run.hour) << c.text;
        }
    }
    const std::optional<RunTime> bulletins = readBulletinRun("12/08/2026", 12);
    ASSERT_TRUE(bulletins);
    EXPECT_EQ(bulletins->day, 8);
    EXPECT_EQ(bulletins->hour, 12);
    EXPECT_FALSE(readBulletinRun("13/08/2026", 12));
}
