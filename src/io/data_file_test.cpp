#include "io/data_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string notFound = "You entered a file name wich does not exist in the directory.\n";

}  // namespace

TEST(ReportName, ReplacesTheLastThreeCharacters) {
    EXPECT_EQ(reportFileName("forecast.txt"), "forecast.out");
    EXPECT_EQ(reportFileName("abc.dat"), "abc.out");
    EXPECT_EQ(reportFileName("gfsdata"), "gfsdout");
    EXPECT_EQ(reportFileName("abc"), "out");
    EXPECT_EQ(reportFileName("runs/today/gfs.txt"), "runs/today/gfs.out");
}

TEST(DataFile, EachRefusalIsToldOnceAndOpensNothing) {
    ScopedTempDirectory dir;
    fs::create_directory("folder.txt");
    writeFile("gfs.txt", "FHR");
    writeFile("ab", "FHR");
    writeFile("gfs.out", "FHR 1 2 3");
    const std::string notPlain = " is not a plain file and cannot be read as data.\n";
    const std::string control =
        "The file name you typed holds a control character and cannot name a file.\n";
    const struct {
        std::string name;
        std::string told;
    } refusals[] = {
        {"missing.txt", notFound},
        {"", notFound},
        {"cd", notFound},  // a missing short name is simply not found
        {"folder.txt", "The name folder.txt" + notPlain},
        {".", "The name ." + notPlain},
        {std::string("gfs.txt\0\0\0", 10), control},
        {"gfs\x1b.txt", control},
        {"gfs.txt\x7f", control},
        {"ab",
         "The file name ab is too short: its report takes the name with the last three "
         "characters replaced by out.\n"},
        {"gfs.out",
         "The report file gfs.out would overwrite the data file gfs.out; rename the data file "
         "and try again.\n"},
    };
    for (const auto& refusal : refusals) {
        const OpeningAnswer answer = openDataFileNamed(refusal.name);
        EXPECT_FALSE(answer.opened || answer.descriptorKept) << refusal.name;
        EXPECT_EQ(answer.told, refusal.told) << refusal.name;
    }
    const OpeningAnswer opened = openDataFileNamed("gfs.txt");
    EXPECT_TRUE(opened.opened && opened.descriptorKept);
    EXPECT_EQ(opened.told, "");
    EXPECT_FALSE(fs::exists("gfs.txtout"));
    EXPECT_EQ(readFile("gfs.out"), "FHR 1 2 3");
}
