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

TEST(DataFileDialogue, RefusesFolders) {
    ScopedTempDirectory dir;
    fs::create_directory("folder.txt");
    for (const char* input : {"folder.txt", "."}) {
        ScopedConsole console(input);
        std::string name;
        EXPECT_FALSE(openDataFile(name)) << input;
        EXPECT_EQ(console.output(), prompt + "The name " + input +
                                        " is not a plain file and cannot be read as data.\n");
    }
}

TEST(DataFileDialogue, RefusesANameHoldingAControlCharacter) {
    ScopedTempDirectory dir;
    writeFile("gfs.txt", "FHR");
    for (const std::string& input : {std::string("gfs.txt\0\0\0", 10), std::string("gfs\x1b.txt"),
                                     std::string("gfs.txt\x7f")}) {
        ScopedConsole console(input);
        std::string name;
        EXPECT_FALSE(openDataFile(name));
        EXPECT_EQ(console.output(), prompt +
                                        "The file name you typed holds a control character and "
                                        "cannot name a file.\n");
    }
    EXPECT_FALSE(fs::exists("gfs.txtout"));
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

TEST(ReportFile, AFolderAtTheReportNameIsNeverOpened) {
    ScopedTempDirectory dir;
    fs::create_directory("folder.out");
    std::ofstream report;
    openReportFile("folder.txt", report);
    report << "lost" << std::endl;
    ScopedConsole console("");
    EXPECT_FALSE(closeReportFile("folder.txt", report));
    EXPECT_EQ(console.output(),
              "The report file folder.out is not a plain file, so the report cannot be written "
              "there.\n");
    EXPECT_TRUE(fs::is_directory("folder.out"));
}

TEST(ReportFile, AMissingFolderIsToldByName) {
    ScopedTempDirectory dir;
    std::ofstream report;
    openReportFile("no/such/gfs.txt", report);
    report << "lost" << std::endl;
    ScopedConsole console("");
    EXPECT_FALSE(closeReportFile("no/such/gfs.txt", report));
    EXPECT_EQ(console.output(), "The report file no/such/gfs.out could not be written.\n");
}

TEST(ReportFile, AFailedWriteKeepsTheOlderReportAndLeavesNoTemporaryFile) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "the older report\n");
    std::ofstream report;
    openReportFile("gfs.txt", report);
    EXPECT_EQ(fs::file_size("gfs.out"), 17u);  // nothing is emptied before the write ends
    report << "half of a new";
    report.setstate(std::ios::badbit);  // as a full disk leaves the stream
    ScopedConsole console("");
    EXPECT_FALSE(closeReportFile("gfs.txt", report));
    EXPECT_EQ(console.output(), "The report file gfs.out could not be written.\n");
    EXPECT_EQ(readFile("gfs.out"), "the older report\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(".")) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}
