#include "blend/blend_report.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

DailyForecastTable allDays(double value) {
    DailyForecastTable daily{};
    for (std::size_t day = 0; day < daily.size(); ++day) {
        daily[day] = {value, value, value, value, std::nullopt, value};
        if (day < 2) {
            daily[day].lowProbPrec = value;
        }
    }
    return daily;
}

CloudWindTable sampleCloudWind() {
    CloudWindTable table{};
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (row < shortRangeHours) {
            table[row] = {static_cast<int>(3 * (row + 2)), 0.7672034422, 26.9378120136,
                          12.14155608};
        } else {
            table[row] = {static_cast<int>(72 + 12 * (row - shortRangeHours)), 0.55, std::nullopt,
                          10.9};
        }
    }
    return table;
}

const std::string header =
    "Day    LowTemp     HighTemp    LowDPT      HighDPT     LowProbPrec HighProbPrec";
const std::string fifties = "50.0002     50.0002     50.0002     50.0002     50.0002     50.0002";
const std::string fiftiesWithoutLowProb =
    "50.0002     50.0002     50.0002     50.0002                 50.0002";

}  // namespace

TEST(BlendReport, ConsoleDailyTableLeavesTheLastCellUnpadded) {
    std::ostringstream out;
    writeConsoleDailyTable(out, allDays(50.0002073));
    const std::vector<std::string> lines = linesOf(out.str());
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], header);
    EXPECT_EQ(lines[0].size(), 79u);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "1      " + fifties);
    EXPECT_EQ(lines[3], "2      " + fifties);
    EXPECT_EQ(lines[2].size(), 74u);
    for (int day = 3; day <= 7; ++day) {
        const std::string& line = lines[static_cast<std::size_t>(day + 1)];
        EXPECT_EQ(line, std::to_string(day) + "      " + fiftiesWithoutLowProb);
        EXPECT_EQ(line.size(), 74u);
    }
    EXPECT_TRUE(out.flags() & std::ios::left);
    EXPECT_FALSE(out.flags() & std::ios::fixed);
}

TEST(BlendReport, ReportHoldsFortySixLinesInTheirLayout) {
    std::ostringstream report;
    writeBlendReport(report, allDays(50.0002073), sampleCloudWind());
    const std::vector<std::string> lines = linesOf(report.str());
    ASSERT_EQ(lines.size(), 46u);
    EXPECT_EQ(lines[0], "1200 Rori za Dazezur Forecast Data");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], header);
    EXPECT_EQ(lines[3], "");
    // The two blended days end padded to the full width, the others do not.
    EXPECT_EQ(lines[4], "1      " + fifties + "     ");
    EXPECT_EQ(lines[5], "2      " + fifties + "     ");
    EXPECT_EQ(lines[4].size(), 79u);
    EXPECT_EQ(lines[6], "3      " + fiftiesWithoutLowProb);
    EXPECT_EQ(lines[10], "7      " + fiftiesWithoutLowProb);
    EXPECT_EQ(lines[11], "");
    EXPECT_EQ(lines[12], "Cloud cover, wind speed, and wind direction data");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], "HR    CLD     WDR       WSP (MPH) ");
    EXPECT_EQ(lines[15], "6     0.77    26.94     12.14     ");
    EXPECT_EQ(lines[33], "60    0.77    26.94     12.14     ");
    EXPECT_EQ(lines[34], "");
    EXPECT_EQ(lines[35], "72    0.55              10.90     ");
    EXPECT_EQ(lines[45], "192   0.55              10.90     ");
    for (std::size_t line = 14; line < 46; ++line) {
        EXPECT_EQ(lines[line].size(), line == 34 ? 0u : 34u) << line;
    }
}

TEST(BlendReport, WideAndNegativeValuesAreNeverCut) {
    DailyForecastTable daily = allDays(-2147483648.0 * 1.000004146);
    daily[0].lowTemp = -3.5;
    std::ostringstream console;
    writeConsoleDailyTable(console, daily);
    const std::vector<std::string> lines = linesOf(console.str());
    EXPECT_EQ(lines[2].substr(0, 31), "1      -3.5        -2.14749e+09");
    EXPECT_EQ(lines[3].substr(0, 31), "2      -2.14749e+09-2.14749e+09");

    CloudWindTable table = sampleCloudWind();
    table[0] = {6, -0.1, 1000000.0, 1151000.0};
    std::ostringstream report;
    writeBlendReport(report, allDays(1), table);
    EXPECT_EQ(linesOf(report.str())[15], "6     -0.10   1000000.001151000.00");
}
