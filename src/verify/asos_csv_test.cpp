#include "verify/asos_csv.h"

#include <gtest/gtest.h>

#include "verify/verify_time.h"

TEST(AsosCsv, ReadsMissingTracesAndTheRemarkGroups) {
    const std::string text =
        "station,valid,tmpf,p01i,metar\n"
        "FSD,2026-12-08 05:53,30.9,T,KFSD 080553Z 18010KT 10SM CLR M01/M04 A3000 RMK AO2 "
        "SLP170 60012 10011 21017 T10061039\n"
        "FSD,2026-12-08 06:10,M,M,SPECI KFSD 080610Z 18010KT 2SM BR OVC004 RMK AO2\n"
        "FSD,2026-12-08 06:53,29.0,0.02,KFSD 080653Z RMK AO2 6//// 1//// 20000\n";
    std::vector<AsosReport> reports;
    std::string fault;
    ASSERT_TRUE(readAsosCsv(text, reports, fault)) << fault;
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].minute, minutesOf({2026, 12, 8}, 5, 53));
    EXPECT_EQ(reports[0].tmpf, 30.9);
    EXPECT_EQ(reports[0].p01i, 0.0);
    EXPECT_DOUBLE_EQ(*reports[0].precipSixHour, 0.12);
    EXPECT_DOUBLE_EQ(*reports[0].maxSixHourF, 1.1 * 9 / 5 + 32);
    EXPECT_DOUBLE_EQ(*reports[0].minSixHourF, -1.7 * 9 / 5 + 32);
    EXPECT_FALSE(reports[0].special);
    EXPECT_FALSE(reports[1].tmpf);
    EXPECT_FALSE(reports[1].p01i);
    EXPECT_TRUE(reports[1].special);
    EXPECT_EQ(reports[2].p01i, 0.02);
    EXPECT_FALSE(reports[2].precipSixHour);
    EXPECT_FALSE(reports[2].maxSixHourF);
    EXPECT_EQ(reports[2].minSixHourF, 32.0);
}

TEST(AsosCsv, GroupsBeforeTheRemarksAreNotRead) {
    AsosReport report;
    readRemarkGroups("KFSD 080553Z 10012 RMK AO2", report);
    EXPECT_FALSE(report.maxSixHourF);
    readRemarkGroups("KFSD 080553Z 10012 AO2", report);
    EXPECT_FALSE(report.maxSixHourF);
    readRemarkGroups("KFSD RMK 12000", report);  // a sign digit of 2 is no group
    EXPECT_FALSE(report.maxSixHourF);
}

TEST(AsosCsv, TheNominalHourTurnsAtFiftyMinutes) {
    const std::int64_t noon = minutesOf({2026, 12, 8}, 12, 0);
    EXPECT_EQ(nominalHour(noon - 11), noon / 60 - 1);
    EXPECT_EQ(nominalHour(noon - 10), noon / 60);
    EXPECT_EQ(nominalHour(noon + 49), noon / 60);
    EXPECT_EQ(nominalHour(noon + 50), noon / 60 + 1);
    EXPECT_EQ(nominalHour(-11), -1);
}

TEST(AsosCsv, AnErrorBodyIsRefused) {
    std::vector<AsosReport> reports;
    std::string fault;
    EXPECT_FALSE(readAsosCsv("ERROR: station not found\n", reports, fault));
    EXPECT_FALSE(readAsosCsv("station,valid,tmpf\nFSD,yesterday,3\n", reports, fault));
    EXPECT_EQ(fault, "line 2 is not a report");
    EXPECT_TRUE(readAsosCsv("station,valid,tmpf,p01i,metar\n", reports, fault)) << fault;
}
