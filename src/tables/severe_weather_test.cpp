#include "tables/severe_weather.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "io/data_file.h"
#include "scan/scan_file.h"
#include "tables/missing_values.h"
#include "test_support.h"

TEST(SevereWeatherReading, ReadsTheHourBetweenAnyTwoMarkersAndTenNumbers) {
    const struct {
        const char* text;
        int hour;
        double best4LyrLnde;
        double liftIndex;
        bool nextRowWhole;
    } rows[] = {
        // No marker after the hour: the 4 of 4.5 is taken as the marker.
        {"| 12 4.5 -1.5 -25 1200 300 20 45 90 150 60", 12, 0.5, -1.5, false},
        // Thirteen items a row; the next row here ends before its tenth number.
        {"|0|-2 -1 -50 800 300 15 40 80 150 60 |3| -3 -2 -20 1500 301 20", 0, -2.0, -1.0, false},
    };
    for (const auto& expected : rows) {
        ScanFile in;
        openScanText(in, expected.text);
        SevereWeatherRow row{};
        ASSERT_TRUE(readSevereWeatherRow(in, row)) << expected.text;
        EXPECT_EQ(row.hour, expected.hour);
        EXPECT_EQ(row.best4LyrLnde, expected.best4LyrLnde);
        EXPECT_EQ(row.liftIndex, expected.liftIndex);
        EXPECT_EQ(row.potTemp, 300.0);
        EXPECT_EQ(row.sansHeat, 60.0);
        EXPECT_EQ(readSevereWeatherRow(in, row), expected.nextRowWhole);
    }
}

TEST(SevereWeatherLayout, HeaderLineIs133CharactersEndingInSansHeat) {
    std::ostringstream report;
    writeSevereWeatherHeaderLine(report);
    EXPECT_EQ(report.str(),
              "HR   BEST 4LYR LNDE  LIFT INDEX  CNV INHIB    CNV AVBL     POT TEMP     "
              "900MB KNTC  500MB KNTC  250MB KNTC    LAT HEAT   SANS HEAT   \n");
    EXPECT_EQ(report.str().size(), 133u + 1u);
}

TEST(SevereWeatherLayout, WideValueTouchesTheNextColumn) {
    SevereWeatherRow row{};
    row.hour = 27;
    row.best4LyrLnde = -4.25;
    row.liftIndex = 0.5;
    row.cnvInhib = -120.0;
    row.cnvAvbl = 2500.0;
    row.potTemp = 80.24;
    row.kntc900 = 35.0;
    row.kntc500 = 60.0;
    row.kntc250 = 110.0;
    row.latHeat = 1234567.0;
    row.sansHeat = 95.5;
    std::ostringstream report;
    writeSevereWeatherRowLine(report, row, row);
    EXPECT_EQ(report.str(),
              "27   -4.25           0.5         -120         2500         80.24        "
              "35          60          110           1.23457e+0695.5        \n");
}

TEST(SevereWeatherMissing, EachMissingValueIsMPaddedLikeTheNumberItStandsFor) {
    SevereWeatherRow row{};
    row.hour = 3;
    row.best4LyrLnde = -4.25;
    row.liftIndex = 0.5;
    row.cnvInhib = -120.0;
    row.cnvAvbl = 2500.0;
    row.potTemp = 80.24;
    row.kntc900 = 35.0;
    row.kntc500 = 60.0;
    row.kntc250 = 110.0;
    row.latHeat = 12.5;
    row.sansHeat = 95.5;
    const struct {
        double SevereWeatherRow::*field;
        const char* line;
    } cases[] = {
        {&SevereWeatherRow::best4LyrLnde,
         "3    M               0.5         -120         2500         80.24        35          60  "
         "        110           12.5       95.5        \n"},
        {&SevereWeatherRow::potTemp,
         "3    -4.25           0.5         -120         2500         M            35          60  "
         "        110           12.5       95.5        \n"},
        {&SevereWeatherRow::sansHeat,
         "3    -4.25           0.5         -120         2500         80.24        35          60  "
         "        110           12.5       M           \n"},
    };
    for (const auto& c : cases) {
        SevereWeatherRow fileRow = row;
        fileRow.*c.field = missingValue;
        std::ostringstream report;
        writeSevereWeatherRowLine(report, fileRow, row);
        EXPECT_EQ(report.str(), c.line);
    }
    // A value near the marker but not it is written as a number.
    SevereWeatherRow near = row;
    near.latHeat = -9999.0001;
    std::ostringstream report;
    writeSevereWeatherRowLine(report, near, near);
    EXPECT_NE(report.str().find("-9999 "), std::string::npos);
}

TEST(SevereWeatherMissing, TheRunLeavesAMissingPotentialTemperatureInKelvinUnconverted) {
    ScopedTempDirectory dir;
    std::string text = "SEVERE WEATHER   GFS\nFHR\n| 3 | 1 2 3 4 -9999 6 7 8 9 10\n";
    for (int hour = 6; hour <= 87; hour += 3) {
        text += "| " + std::to_string(hour) + " | 1 2 3 4 300 6 7 8 9 10\n";
    }
    writeFile("severe.txt", text);
    DataFile file;
    ASSERT_TRUE(openPlainDataFile(file, "severe.txt"));
    std::ostringstream messages;
    SevereWeatherRecords records;
    EXPECT_EQ(makeSevereWeatherTable(file, messages, &records), RunOutcome::reportWritten);
    EXPECT_EQ(records.rows[0].potTemp, missingValue);
    EXPECT_DOUBLE_EQ(records.rows[1].potTemp, 80.24);
    EXPECT_EQ(records.title.run, "");
    EXPECT_NE(messages.str().find("the column \"POT TEMP\"; the report writes M there.\n"),
              std::string::npos)
        << messages.str();
}
