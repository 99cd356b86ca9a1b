#include "shell/data_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(DataFileDialogue, RefusesFoldersAndDevices) {
    ScopedTempDirectory dir;
    fs::create_directory("folder.txt");
    for (const char* input : {"folder.txt", "/dev/zero", "."}) {
        ScopedConsole console(input);
        std::string name;
        EXPECT_FALSE(openDataFile(name)) << input;
        EXPECT_EQ(console.output(), prompt + "The name " + input +
                                        " is not a plain file and cannot be read as data.\n");
    }
}

TEST(DataFileDialogue, RefusesAPipeWithoutWaitingForAWriter) {
    ScopedTempDirectory dir;
    ASSERT_EQ(mkfifo("pipe.txt", 0600), 0);
    ScopedConsole console("pipe.txt");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
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

TEST(DataFileDialogue, RefusesADataFileReachedThroughItsReportName) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "FHR 1 2 3");
    fs::create_symlink("gfs.out", "gfs.txt");
    ScopedConsole console("gfs.txt");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
    EXPECT_EQ(console.output(), prompt +
                                    "The report file gfs.out would overwrite the data file "
                                    "gfs.txt; rename the data file and try again.\n");
    EXPECT_EQ(readFile("gfs.out"), "FHR 1 2 3");
}

TEST(ReportFile, IsCreatedWithReadWriteForOwnerAndGroup) {
    ScopedTempDirectory dir;
    const mode_t previousMask = umask(0);
    std::ofstream report;
    openReportFile("gfs.txt", report);
    report << "line" << std::endl;
    ScopedConsole console("");
    EXPECT_TRUE(closeReportFile("gfs.txt", report));
    umask(previousMask);
    EXPECT_EQ(console.output(), "");
    struct stat info {};
    ASSERT_EQ(stat("gfs.out", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0664u);
    EXPECT_EQ(readFile("gfs.out"), "line\n");
}

TEST(ReportFile, AnExistingReportIsEmptiedAndKeepsItsPermissions) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "an older and much longer report\n");
    fs::permissions("gfs.out", fs::perms::owner_read | fs::perms::owner_write);
    std::ofstream report;
    openReportFile("gfs.txt", report);
    report << "new" << std::endl;
    EXPECT_TRUE(closeReportFile("gfs.txt", report));
    EXPECT_EQ(readFile("gfs.out"), "new\n");
    EXPECT_EQ(fs::status("gfs.out").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
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

TEST(ReportFile, AFullDiskIsToldByName) {
    ScopedTempDirectory dir;
    fs::create_symlink("/dev/full", "gfs.out");
    std::ofstream report;
    openReportFile("gfs.txt", report);
    report << "lost";  // buffered: the failure shows only when the report is closed
    ScopedConsole console("");
    EXPECT_FALSE(closeReportFile("gfs.txt", report));
    EXPECT_EQ(console.output(), "The report file gfs.out could not be written.\n");
}
