#include "tables/model_table.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>

#include "scan/scan_file.h"

namespace {

// A row as the run hands it to the band: wind already in miles per hour, temperatures
// still in Celsius.
ModelRow bandRow(double temp2m, double temp850, double humidity, double windSpeed) {
    ModelRow row{};
    row.temp2m = temp2m;
    row.temp850 = temp850;
    row.humidity = humidity;
    row.windSpeed = windSpeed;
    return row;
}

}  // namespace

TEST(ModelTable, BandOfEachRowInCelsiusUnclampedAndOnlyForTheRowsCounted) {
    const ModelRow worked = bandRow(21.3, 15.0, 65.0, 11.5077945);
    const ModelRow fiftyKnots = bandRow(12.0, 12.0, 100.0, 57.5389725);
    const ModelRow rows[] = {worked, fiftyKnots, worked};
    const struct {
        double adjustment;
        double upperBand;
        double lowerBand;
    } expected[] = {
        {3.52922055, 24.829220550000002, 17.77077945},
        {-2.75389725, 9.24610275, 14.75389725},  // the upper band below the lower: no clamping
        {-1.0, -1.0, -1.0},                      // past the row count: left alone
    };
    double adjustment[3] = {-1.0, -1.0, -1.0};
    double upperBand[3] = {-1.0, -1.0, -1.0};
    double lowerBand[3] = {-1.0, -1.0, -1.0};
    computeAdjustmentBand(rows, adjustment, upperBand, lowerBand, 2);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(adjustment[i], expected[i].adjustment) << "row " << i;
        EXPECT_EQ(upperBand[i], expected[i].upperBand) << "row " << i;
        EXPECT_EQ(lowerBand[i], expected[i].lowerBand) << "row " << i;
    }
}

TEST(ModelRowReading, TakesAnyMarkersAndTheHourAsAnInteger) {
    ScanFile in;
    openScanText(in,
                 "| 006 |1013.25 21.3 15\n5 -10 5640 65 2.5 40 180 10\n"
                 "x-3y 1e3 0 0 0 0 0 0 0 0 0 .5");
    ModelRow row{};
    ASSERT_TRUE(readModelRow(in, row));
    EXPECT_EQ(row.hour, 6);
    EXPECT_EQ(row.pressure, 1013.25);
    EXPECT_EQ(row.temp500, -10.0);
    EXPECT_EQ(row.precip, 2.5);
    EXPECT_EQ(row.windSpeed, 10.0);
    // The last row may end the file without a line end.
    ASSERT_TRUE(readModelRow(in, row));
    EXPECT_EQ(row.hour, -3);
    EXPECT_EQ(row.pressure, 1000.0);
    EXPECT_EQ(row.windSpeed, 0.5);
}

TEST(ModelRowReading, AShortRowOrAWordForANumberIsNotARow) {
    for (const char* text : {"| 6 | 1013.25 21.3 15 5 -10 5640 65 2.5 40 180",
                             "| 6 | 1013.25 21.3 15 5 -10 M 65 2.5 40 180 10", "| 6 |", ""}) {
        ScanFile in;
        openScanText(in, text);
        ModelRow row{};
        EXPECT_FALSE(readModelRow(in, row)) << text;
    }
}

TEST(ModelTableLayout, HeaderLinePadsEveryHeadingToItsColumn) {
    std::ostringstream report;
    writeModelHeaderLine(report);
    const std::string expected =
        "HR   Pressure   2m Temp     850MB Temp   700MB Temp   500MB Temp   Thickness   "
        "Hum %     Precip        Cld Cover  Wind Dir    Wind Speed    Adj         "
        "+           -           \n";
    EXPECT_EQ(report.str(), expected);
    EXPECT_EQ(expected.size(), 176u + 1u);
}

TEST(ModelTableLayout, RowLineUsesSixSignificantDigitsAndPadsTheLastItem) {
    ModelRow row{};
    row.hour = 6;
    row.pressure = 29.92125984158961;
    row.temp2m = 70.34;
    row.temp850 = 59.0;
    row.temp700 = 41.0;
    row.temp500 = 14.0;
    row.thickness = 5640.0;
    row.humidity = 65.0;
    row.precip = 0.0984251968503937;
    row.cloudCover = 40.0;
    row.windDir = 180.0;
    row.windSpeed = 11.5077945;
    std::ostringstream report;
    writeModelRowLine(report, row, 6.352597, 76.69259699, 63.98740301);
    EXPECT_EQ(report.str(),
              "6    29.9213    70.34       59           41           14           5640        "
              "65        0.0984252     40         180         11.5078       6.3526      "
              "76.6926     63.9874     \n");
}

TEST(ModelTableLayout, AnItemWiderThanItsColumnPushesTheRestRight) {
    ModelRow row{};
    row.hour = 123456;
    row.pressure = 1234567.0;
    row.temp2m = -0.000012345;
    std::ostringstream report;
    writeModelRowLine(report, row, 0.0, 0.0, 0.0);
    EXPECT_EQ(report.str().substr(0, 40), "1234561.23457e+06-1.2345e-05 0          ");
}
