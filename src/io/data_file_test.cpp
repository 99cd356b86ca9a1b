#include "io/data_file.h"

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
    DataFile data;
    EXPECT_TRUE(openDataFile(data));
    EXPECT_EQ(data.name, "empty.txt");
    EXPECT_GE(data.descriptor, 0);
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
    DataFile data;
    EXPECT_TRUE(openDataFile(data));
    EXPECT_EQ(data.name, name);
}

TEST(DataFileDialogue, MissingFileOrNoInputGivesTheNotFoundMessage) {
    ScopedTempDirectory dir;
    for (const char* input : {"missing.txt\n", "", "   \n\n"}) {
        ScopedConsole console(input);
        DataFile data;
        EXPECT_FALSE(openDataFile(data)) << input;
        EXPECT_EQ(console.output(), prompt + notFound) << input;
    }
}

TEST(DataFileDialogue, RefusesFolders) {
    ScopedTempDirectory dir;
    fs::create_directory("folder.txt");
    for (const char* input : {"folder.txt", "."}) {
        ScopedConsole console(input);
        DataFile data;
        EXPECT_FALSE(openDataFile(data)) << input;
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
        DataFile data;
        EXPECT_FALSE(openDataFile(data));
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
    DataFile data;
    EXPECT_FALSE(openDataFile(data));
    EXPECT_EQ(console.output(), prompt +
                                    "The file name ab is too short: its report takes the name "
                                    "with the last three characters replaced by out.\n");
}

TEST(DataFileDialogue, AMissingShortNameIsSimplyNotFound) {
    ScopedTempDirectory dir;
    ScopedConsole console("ab");
    DataFile data;
    EXPECT_FALSE(openDataFile(data));
    EXPECT_EQ(console.output(), prompt + notFound);
}

TEST(DataFileDialogue, RefusesADataFileThatWouldBeItsOwnReport) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "FHR 1 2 3");
    ScopedConsole console("gfs.out");
    DataFile data;
    EXPECT_FALSE(openDataFile(data));
    EXPECT_EQ(console.output(), prompt +
                                    "The report file gfs.out would overwrite the data file "
                                    "gfs.out; rename the data file and try again.\n");
    EXPECT_EQ(readFile("gfs.out"), "FHR 1 2 3");
}
