#include "shell/data_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string prompt = "Please enter the name of the file with the .txt extension: ";
const std::string notFound = "You entered a file name wich does not exist in the directory.\n";

}  // namespace

TEST(ReportName, ReplacesTheLastThreeCharacters) {
    EXPECT_EQ(reportFileName("forecast.txt"), "forecast.out");
    EXPECT_EQ(reportFileName("abc.dat"), "abc.out");
    EXPECT_EQ(reportFileName("gfsdata"), "gfsdout");
    EXPECT_EQ(reportFileName("abc"), "out");
    EXPECT_EQ(reportFileName("runs/today/gfs.txt"), "runs/today/gfs.out");
}

TEST(DataFileDialogue, AcceptsAnExistingFileWhateverItHolds) {
    ScopedTempDirectory dir;
    writeFile("empty.txt", "");
    ScopedConsole console("  empty.txt rest of line\n");
    std::string name;
    EXPECT_TRUE(openDataFile(name));
    EXPECT_EQ(name, "empty.txt");
    EXPECT_EQ(console.output(), prompt);
    std::string rest;
    std::cin >> rest;
    EXPECT_EQ(rest, "rest");
}

TEST(DataFileDialogue, AcceptsNamesLongerThanTwentyNineCharacters) {
    ScopedTempDirectory dir;
    fs::create_directories("a/rather/deep/folder/of/saved/guidance");
    const std::string name = "a/rather/deep/folder/of/saved/guidance/gfs.txt";
    writeFile(name, "FHR");
    ScopedConsole console(name + "\n");
    std::string typed;
    EXPECT_TRUE(openDataFile(typed));
    EXPECT_EQ(typed, name);
}

TEST(DataFileDialogue, MissingFileOrNoInputGivesTheNotFoundMessage) {
    ScopedTempDirectory dir;
    for (const char* input : {"missing.txt\n", "", "   \n\n"}) {
        ScopedConsole console(input);
        std::string name = "left over";
        EXPECT_FALSE(openDataFile(name)) << input;
        EXPECT_EQ(console.output(), prompt + notFound) << input;
    }
}

TEST(DataFileDialogue, RefusesAnExistingNameTooShortForItsReport) {
    ScopedTempDirectory dir;
    writeFile("ab", "FHR");
    ScopedConsole console("ab");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
    EXPECT_EQ(console.output(), prompt +
                                    "The file name ab is too short: its report takes the name "
                                    "with the last three characters replaced by out.\n");
}

TEST(DataFileDialogue, AMissingShortNameIsSimplyNotFound) {
    ScopedTempDirectory dir;
    ScopedConsole console("ab");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
    EXPECT_EQ(console.output(), prompt + notFound);
}

TEST(DataFileDialogue, RefusesADataFileThatWouldBeItsOwnReport) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "FHR 1 2 3");
    ScopedConsole console("gfs.out");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
    EXPECT_EQ(console.output(), prompt +
                                    "The report file gfs.out would overwrite the data file "
                                    "gfs.out; rename the data file and try again.\n");
    EXPECT_EQ(readFile("gfs.out"), "FHR 1 2 3");
}

TEST(ReportFile, AReportThatCannotBeCreatedIsToldByName) {
    ScopedTempDirectory dir;
    fs::create_directory("gfs.out");  // a folder where the report should go
    std::ofstream report;
    openReportFile("gfs.txt", report);
    report << "lost" << std::endl;
    ScopedConsole console("");
    EXPECT_FALSE(closeReportFile("gfs.txt", report));
    EXPECT_EQ(console.output(), "The report file gfs.out could not be written.\n");
}
