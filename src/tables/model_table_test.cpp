#include "tables/model_table.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "io/data_file.h"
#include "scan/scan_file.h"
#include "tables/missing_values.h"
#include "test_support.h"

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
    writeModelRowLine(report, row, row, 6.352597, 76.69259699, 63.98740301);
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
    writeModelRowLine(report, row, row, 0.0, 0.0, 0.0);
    EXPECT_EQ(report.str().substr(0, 40), "1234561.23457e+06-1.2345e-05 0          ");
}

namespace {

// The worked row of the report, converted, with its band in Fahrenheit.
ModelRow workedRow() {
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
    return row;
}

// A report line cut into its items by the column widths (every item here fits its column).
std::vector<std::string> itemsOf(const std::string& line) {
    const int widths[] = {5, 11, 12, 13, 13, 13, 12, 10, 14, 11, 12, 14, 12, 12, 12};
    std::vector<std::string> items;
    std::size_t at = 0;
    for (const int width : widths) {
        const std::string cell = line.substr(at, static_cast<std::size_t>(width));
        items.push_back(cell.substr(0, cell.find(' ')));
        at += static_cast<std::size_t>(width);
    }
    return items;
}

}  // namespace

TEST(ModelTableMissing, AMissingValueIsMAndTheBandIsMWhenItsMadeFromOne) {
    const struct {
        double ModelRow::*field;
        std::size_t column;
        bool bandMissing;
    } cases[] = {
        {&ModelRow::pressure, 1, false},   {&ModelRow::temp2m, 2, true},
        {&ModelRow::temp850, 3, true},     {&ModelRow::temp700, 4, false},
        {&ModelRow::temp500, 5, false},    {&ModelRow::thickness, 6, false},
        {&ModelRow::humidity, 7, true},    {&ModelRow::precip, 8, false},
        {&ModelRow::cloudCover, 9, false}, {&ModelRow::windDir, 10, false},
        {&ModelRow::windSpeed, 11, true},
    };
    const ModelRow worked = workedRow();
    std::ostringstream whole;
    writeModelRowLine(whole, worked, worked, 6.352597, 76.69259699, 63.98740301);
    const std::vector<std::string> given = itemsOf(whole.str());
    for (const auto& c : cases) {
        ModelRow fileRow = worked;
        fileRow.*c.field = missingValue;
        std::ostringstream report;
        writeModelRowLine(report, fileRow, worked, 6.352597, 76.69259699, 63.98740301);
        // Same width as the number it stands for: the line keeps its length.
        EXPECT_EQ(report.str().size(), whole.str().size()) << c.column;
        const std::vector<std::string> items = itemsOf(report.str());
        for (std::size_t column = 0; column < items.size(); ++column) {
            const bool missing = column == c.column || (c.bandMissing && column >= 12);
            EXPECT_EQ(items[column], missing ? "M" : given[column])
                << "missing column " << c.column << ", item " << column;
        }
        EXPECT_EQ(bandKnown(fileRow), !c.bandMissing) << c.column;
    }
}

TEST(ModelTableMissing, ABandMadeFromAMissingValueIsNotComputed) {
    // Only an exact -9999 is missing; a value beside it is weather.
    const ModelRow rows[] = {bandRow(missingValue, 15.0, 65.0, 11.5077945),
                             bandRow(21.3, 15.0, 65.0, missingValue),
                             bandRow(21.3, 15.0, missingValue, 11.5077945),
                             bandRow(21.3, missingValue, 65.0, 11.5077945),
                             bandRow(21.3, 15.0, 65.0, 11.5077945),
                             bandRow(-9999.5, 15.0, 65.0, 11.5077945)};
    double adjustment[6]{};
    double upperBand[6]{};
    double lowerBand[6]{};
    computeAdjustmentBand(rows, adjustment, upperBand, lowerBand, 6);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(adjustment[i], missingValue) << i;
        EXPECT_EQ(upperBand[i], missingValue) << i;
        EXPECT_EQ(lowerBand[i], missingValue) << i;
    }
    EXPECT_EQ(adjustment[4], 3.52922055);
    EXPECT_NE(adjustment[5], missingValue);
    EXPECT_EQ(upperBand[5], -9999.5 + adjustment[5]);
}

TEST(MissingValuesMessage, NamesEachColumnOnceInOneLineOrSaysNothing) {
    std::ostringstream none;
    tellMissingValues("gfs.txt", {}, none);
    EXPECT_EQ(none.str(), "");
    std::ostringstream one;
    tellMissingValues("gfs.txt", {"Cld Cover"}, one);
    EXPECT_EQ(one.str(),
              "The data file gfs.txt has no value (-9999) in some rows of the column \"Cld "
              "Cover\"; the report writes M there.\n");
    std::ostringstream four;
    tellMissingValues("gfs.txt", {"2m Temp", "Adj", "+", "-"}, four);
    EXPECT_EQ(four.str(),
              "The data file gfs.txt has no value (-9999) in some rows of the columns \"2m "
              "Temp\", \"Adj\", \"+\", \"-\"; the report writes M there.\n");
}

TEST(ModelTableMissing, TheRunLeavesMissingValuesUnconvertedAndNamesTheirColumnsOnce) {
    ScopedTempDirectory dir;
    writeFile("gaps.txt",
              "GFS COLUMNS   KDSM\nRUN 00Z 11 MAR 2021   FROM A PROFILE\nFHR\n"
              "| 3 | -9999 21.3 15 5 -10 5640 65 2.5 40 180 10\n"
              "| 6 | 1013.25 21.3 15 5 -10 5640 65 -9999 40 180 -9999\n");
    DataFile file;
    ASSERT_TRUE(openPlainDataFile(file, "gaps.txt"));
    std::ostringstream messages;
    ModelTableRecords records;
    EXPECT_EQ(makeModelTable(file, 2, messages, &records), RunOutcome::reportWritten);
    EXPECT_EQ(records.rows[0].pressure, missingValue);
    EXPECT_EQ(records.rows[1].precip, missingValue);
    EXPECT_EQ(records.rows[1].windSpeed, missingValue);
    EXPECT_EQ(records.adjustment[1], missingValue);
    EXPECT_DOUBLE_EQ(records.adjustment[0], 3.52922055 * 1.8);
    EXPECT_EQ(records.title.run, "00Z 11 MAR 2021");
    EXPECT_EQ(messages.str(),
              "You have a valid file.\nThe data file gaps.txt has no value (-9999) in some rows "
              "of the columns \"Pressure\", \"Precip\", \"Wind Speed\", \"Adj\", \"+\", "
              "\"-\"; the report writes M there.\n");
    const std::string report = readTextFile("gaps.out");
    EXPECT_NE(report.find("\n3    M          70.34"), std::string::npos) << report;
    EXPECT_NE(report.find("11.5078       6.3526      76.6926     63.9874     \n"),
              std::string::npos)
        << report;
}

TEST(ModelTableRefusals, EachRefusalSaysWhyOnceAndNeverFollowsAValidFileLine) {
    ScopedTempDirectory dir;
    const std::string grib2(
        "GRIB\0\0\0\x02\0\0\0\0\0\0\x01\x2c"
        "7777",
        20);
    const struct {
        const char* name;
        std::string text;
        const char* told;
    } cases[] = {
        {"gfs.grib2", grib2,
         "gfs.grib2 is a GRIB2 file: make its files with wxguide extract --station ID "
         "gfs.grib2\n"},
        // The discipline byte may read as a line end before the edition.
        {"ocean.grib2", std::string("GRIB\0\0\n\x02", 8),
         "ocean.grib2 is a GRIB2 file: make its files with wxguide extract --station ID "
         "ocean.grib2\n"},
        {"kdsm.buf", "SNPARM = PRES;TMPC\nFHR\n",
         "kdsm.buf is a BUFKIT profile: make its files with wxguide extract kdsm.buf\n"},
        {"nofhr.txt", "GFS COLUMNS\n| 3 | 1013 1 2 3 4 5 6 7 8 9 10\n",
         "No FHR marker was found in the file nofhr.txt, so no table was made.\n"},
        {"nohours.txt", "GFS COLUMNS\nFHR\nnothing here\n",
         "No forecast hour could be read after the FHR marker in the file nohours.txt, so no "
         "table was made.\n"},
        // A text that merely starts with the letters is no GRIB2 file.
        {"gribbon.txt", "GRIBBON COLUMNS\nFHR\n| 3 | 1013 1 2 3 4 5 6 7 8 9 10\n",
         "You have a valid file.\nOnly 1 of 2 forecast hours could be read from gribbon.txt.\n"},
    };
    for (const auto& c : cases) {
        writeFile(c.name, c.text);
        DataFile file;
        ASSERT_TRUE(openPlainDataFile(file, c.name));
        std::ostringstream messages;
        makeModelTable(file, 2, messages, nullptr);
        EXPECT_EQ(messages.str(), c.told) << c.name;
    }
}
