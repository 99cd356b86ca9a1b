#include "app/menu_dialogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>

#include "io/typed_word.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string filePrompt = "Please enter the name of the file with the .txt extension: ";
const std::string ratioPrompt =
    "Please enter in a decimal ratio you would like for the ETA model weight: ";
const std::string notFound = "You entered a file name wich does not exist in the directory.\n";

}  // namespace

TEST(MenuDialogue, TakesOneWordOrAQuotedNameAndLeavesTheRestOfTheLine) {
    ScopedTempDirectory dir;
    writeFile("empty.txt", "");
    fs::create_directories("a/rather/deep/folder/of/saved/guidance");
    const std::string deep = "a/rather/deep/folder/of/saved/guidance/gfs.txt";
    writeFile(deep, "FHR");
    writeFile("saved today.txt", "FHR");
    const struct {
        std::string typed;
        std::string name;
        std::string rest;  // the next word left to read
    } opened[] = {
        {"  empty.txt rest of line\n", "empty.txt", "rest"},
        {deep + "\n7\n", deep, "7"},
        {"\"saved today.txt\" 7\n", "saved today.txt", "7"},
    };
    for (const auto& answer : opened) {
        std::istringstream in(answer.typed);
        std::ostringstream console;
        DataFile data;
        EXPECT_TRUE(askDataFile(data, in, console)) << answer.typed;
        EXPECT_EQ(data.name, answer.name);
        EXPECT_GE(data.descriptor, 0);
        EXPECT_EQ(console.str(), filePrompt);
        std::string rest;
        in >> rest;
        EXPECT_EQ(rest, answer.rest);
    }
}

TEST(MenuDialogue, RefusesWhatOpensNoFileAndDropsAnUnclosedQuotesLine) {
    ScopedTempDirectory dir;
    writeFile("gfs.txt", "FHR");
    const std::string unclosed =
        "The file name you typed opens a double quote but does not close it on the same line; "
        "type the whole name between two double quotes.\n";
    const struct {
        std::string typed;
        std::string told;
        std::string rest;
    } refusals[] = {
        {"missing.txt\n7\n", notFound, "7"},
        {"", notFound, ""},
        {"   \n\n", notFound, ""},
        {"\"gfs.txt 1\n7\n", unclosed, "7"},
        {"ab\n",
         "The file name ab is too short: its report takes the name with the last three "
         "characters replaced by out.\n",
         ""},
    };
    writeFile("ab", "FHR");
    for (const auto& refusal : refusals) {
        std::istringstream in(refusal.typed);
        std::ostringstream console;
        DataFile data;
        EXPECT_FALSE(askDataFile(data, in, console)) << refusal.typed;
        EXPECT_LT(data.descriptor, 0) << refusal.typed;
        EXPECT_EQ(console.str(), filePrompt + refusal.told) << refusal.typed;
        std::string rest;
        in >> rest;
        EXPECT_EQ(rest, refusal.rest) << refusal.typed;
    }
}

TEST(MenuDialogue, AsksTheRatioAgainUntilANumberFromZeroToOne) {
    const std::string notANumber =
        "That is not a number; type the ETA weight as a decimal number, such as 0.6.\n";
    const std::string outOfRange =
        "The ETA weight must lie between 0 and 1, such as 0.6 for 60 % ETA.\n";
    const std::string noRatio = "\nNo ratio was entered, so no forecast was written.\n";
    const struct {
        std::string typed;
        std::optional<double> ratio;
        std::string told;
    } answers[] = {
        {"0.6\n", 0.6, ratioPrompt},
        {"0 1", 0.0, ratioPrompt},
        {"1", 1.0, ratioPrompt},
        {"sixty  --5 1e999\n0.25 next", 0.25,
         ratioPrompt + notANumber + ratioPrompt + notANumber + ratioPrompt + notANumber +
             ratioPrompt},
        {"60 -0.1 1.5 0.5", 0.5,
         ratioPrompt + outOfRange + ratioPrompt + outOfRange + ratioPrompt + outOfRange +
             ratioPrompt},
        {std::string(maxTypedWordLength, '0') + " 0.5", 0.5,
         ratioPrompt + notANumber + ratioPrompt},
        {"", std::nullopt, ratioPrompt + noRatio},
        {"half\n", std::nullopt, ratioPrompt + notANumber + ratioPrompt + noRatio},
        {"2\n", std::nullopt, ratioPrompt + outOfRange + ratioPrompt + noRatio},
    };
    for (const auto& answer : answers) {
        std::istringstream in(answer.typed);
        std::ostringstream console;
        EXPECT_EQ(askEtaRatio(in, console), answer.ratio) << answer.typed.substr(0, 40);
        EXPECT_EQ(console.str(), answer.told) << answer.typed.substr(0, 40);
    }
}
