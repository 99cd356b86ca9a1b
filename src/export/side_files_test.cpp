#include "export/side_files.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "test_support.h"

TEST(SideFiles, OptionsAreTakenFromTheFrontOnly) {
    const char* const words[] = {"--csv", "--plot", "run", "2", "gfs.txt", "--plot"};
    SideFiles chosen;
    const std::span<const char* const> rest = takeSideFileOptions(words, chosen);
    EXPECT_TRUE(chosen.plot);
    EXPECT_TRUE(chosen.csv);
    ASSERT_EQ(rest.size(), 4u);
    EXPECT_STREQ(rest[0], "run");

    const char* const menu[] = {"--plot"};
    SideFiles plotOnly;
    EXPECT_TRUE(takeSideFileOptions(menu, plotOnly).empty());
    EXPECT_TRUE(plotOnly.plot);
    EXPECT_FALSE(plotOnly.csv);
}

TEST(SideFiles, NamesStandBesideTheReport) {
    EXPECT_EQ(sideFileName("gfs.txt", ".svg"), "gfs.svg");
    EXPECT_EQ(sideFileName("bulletins.txt", "-hourly.csv"), "bulletins-hourly.csv");
    EXPECT_EQ(sideFileName("data/run12.dat", ".csv"), "data/run12.csv");
    // A name without a point loses its last three characters as its report does.
    EXPECT_EQ(sideFileName("forecast1", ".svg"), "foreca.svg");
}

TEST(SideFiles, NothingIsWrittenBesideAReportNotWritten) {
    const ScopedTempDirectory folder;
    SevereWeatherRecords records;  // no report: reportWritten is false
    records.dataName = "severe.txt";
    ModelTableRecords model;
    model.dataName = "gfs.txt";
    StationBlendRecords blend;
    blend.dataName = "bulletins.txt";
    std::ostringstream messages;
    EXPECT_TRUE(writeSevereSideFiles({true, true}, records, messages));
    EXPECT_TRUE(writeModelSideFiles({true, true}, 2, model, messages));
    EXPECT_TRUE(writeBlendSideFiles({true, true}, blend, messages));
    EXPECT_EQ(messages.str(), "");
    EXPECT_EQ(entriesIn(folder.path), 0);
}
