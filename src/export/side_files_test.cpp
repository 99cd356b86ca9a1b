#include "export/side_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
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

namespace {

std::set<std::string> filesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

}  // namespace

TEST(SideFiles, EachFileAskedForIsWrittenBesideTheReportAndEachRefusalTold) {
    ModelTableRecords model;
    model.reportWritten = true;
    model.rowCount = 2;
    model.rows[0] = {6, 29.92, 50, 40, 30, 10, 5400, 80, 0.1, 0.5, 270, 11.5};
    model.rows[1] = {12, 29.8, 48, 39, 29, 9, 5390, 85, 0.25, 1, 305, 9};
    model.fileRows = model.rows;
    SevereWeatherRecords severe;
    severe.reportWritten = true;
    severe.rowCount = 2;
    severe.rows[1].hour = 3;
    StationBlendRecords blend;
    blend.reportWritten = true;
    blend.date = "12/09/2026";
    blend.set = fixedStationSet();
    for (std::size_t i = 0; i < blend.cloudWind.size(); ++i) {
        blend.cloudWind[i].hour = 6 + 3 * static_cast<int>(i);
    }
    struct Case {
        const char* name;
        SideFiles asked;
        char kind;                    // b: option 1, m: option 2, s: option 6
        std::string dataName;         // made beside the files, as the run would have it
        std::string inTheWay;         // a folder of this name is there already
        std::set<std::string> files;  // in the folder afterwards
        std::string messages;
    };
    const std::string notPlain =
        "The file gfs.svg is not a plain file, so it cannot be written there.\n";
    const Case cases[] = {
        {"nothing asked", {false, false}, 'm', "gfs.txt", "", {"gfs.txt"}, ""},
        {"a picture", {true, false}, 'm', "gfs.txt", "", {"gfs.txt", "gfs.svg"}, ""},
        {"a spreadsheet", {false, true}, 's', "sev.dat", "", {"sev.dat", "sev.csv"}, ""},
        {"both for option 6",
         {true, true},
         's',
         "sev.dat",
         "",
         {"sev.dat", "sev.csv", "sev.svg"},
         ""},
        {"both for option 1",
         {true, true},
         'b',
         "b.txt",
         "",
         {"b.txt", "b.svg", "b.csv", "b-hourly.csv"},
         ""},
        {"option 1's spreadsheets",
         {false, true},
         'b',
         "b.txt",
         "",
         {"b.txt", "b.csv", "b-hourly.csv"},
         ""},
        {"the data file's own name",
         {true, true},
         'm',
         "gfs.csv",
         "",
         {"gfs.csv", "gfs.svg"},
         "The file gfs.csv would overwrite the data file gfs.csv, so it was not written.\n"},
        {"a folder in the way",
         {true, true},
         'm',
         "gfs.txt",
         "gfs.svg",
         {"gfs.txt", "gfs.svg", "gfs.csv"},
         notPlain},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedTempDirectory folder;
        writeFile(c.dataName, "data\n");
        if (!c.inTheWay.empty()) {
            std::filesystem::create_directory(c.inTheWay);
        }
        std::ostringstream messages;
        bool written = false;
        if (c.kind == 'b') {
            blend.dataName = c.dataName;
            written = writeBlendSideFiles(c.asked, blend, messages);
        } else if (c.kind == 'm') {
            model.dataName = c.dataName;
            written = writeModelSideFiles(c.asked, 2, model, messages);
        } else {
            severe.dataName = c.dataName;
            written = writeSevereSideFiles(c.asked, severe, messages);
        }
        EXPECT_EQ(written, c.messages.empty());
        EXPECT_EQ(messages.str(), c.messages);
        EXPECT_EQ(filesIn(folder.path), c.files);
        for (const std::string& name : c.files) {
            if (name.ends_with(".svg") && name != c.inTheWay) {
                EXPECT_EQ(readFile(name).rfind("<?xml", 0), 0u) << name;
            } else if (name.ends_with(".csv") && name != c.dataName) {
                EXPECT_EQ(readFile(name).rfind("run,data_file,", 0), 0u) << name;
            }
        }
    }
}
