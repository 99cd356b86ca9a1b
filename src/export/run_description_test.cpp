#include "export/run_description.h"

#include <gtest/gtest.h>

#include <string>

TEST(RunDescription, TheSummaryNamesTheReportAndItsDataModelPlaceAndRun) {
    ModelTableRecords full;
    full.dataName = "gfs.txt";
    full.title = {"GFS", "KDSM DES MOINES", "00Z 11 MAR 2021"};
    EXPECT_EQ(reportSummary(describeRun(2, full)),
              "gfs.out: model GFS, place KDSM DES MOINES, run 00Z 11 MAR 2021");

    // A title that names nothing says so of each part, once.
    ModelTableRecords bare;
    bare.dataName = "column.txt";
    EXPECT_EQ(reportSummary(describeRun(3, bare)),
              "column.out: model not given, place not given, run not given");

    SevereWeatherRecords severe;
    severe.dataName = "hrrr_severe.txt";
    severe.title = {"HRRR", "", "12Z 08 DEC 2026"};
    EXPECT_EQ(reportSummary(describeRun(severe)),
              "hrrr_severe.out: model HRRR, place not given, run 12Z 08 DEC 2026");

    StationBlendRecords blend;
    blend.dataName = "forecast.txt";
    blend.date = "12/08/2026";
    blend.set = {{"KBKX", "KHON"}, {0.5, 0.5}};
    EXPECT_EQ(reportSummary(describeRun(blend)),
              "forecast.out: model MOS guidance, place KBKX KHON, run 1200 UTC 12/08/2026");
}
