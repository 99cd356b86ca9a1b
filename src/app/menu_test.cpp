#include "app/menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "blend/station_blend.h"
#include "bulletin_text.h"
#include "test_support.h"

namespace {

const std::string filePrompt = "Please enter the name of the file with the .txt extension: ";
const std::string ratioPrompt =
    "Please enter in a decimal ratio you would like for the ETA model weight: ";

// One choice at the menu, `typed` being what follows the option word: what it told.
struct Choice {
    bool noReportLost = false;
    std::string told;
    std::string next;  // the next word left for the menu
};

Choice choose(const std::string& option, const std::string& typed) {
    std::istringstream in(typed);
    std::ostringstream console;
    Choice choice;
    choice.noReportLost = runMenuChoice(option, in, console, fixedStationSet());
    choice.told = console.str();
    in >> choice.next;
    return choice;
}

// A console that takes nothing, as standard output on a full disk or a closed descriptor.
struct RefusingOutput : std::streambuf {
    int_type overflow(int_type) override {
        return traits_type::eof();
    }
    std::streamsize xsputn(const char*, std::streamsize) override {
        return 0;
    }
};

}  // namespace

TEST(MainMenu, ExitsWithOneOnlyWhenAReportOrTheConsoleFailed) {
    ScopedTempDirectory dir;
    writeFile("gfs.txt", "FHR 1 06 1 1013 10 5 0 -10 540 80 0 50 270 10\n");
    std::filesystem::create_directory("eta.out");
    writeFile("eta.txt", "FHR 1 06 1 1013 10 5 0 -10 540 80 0 50 270 10\n");
    const struct {
        const char* typed;
        int status;
    } sessions[] = {
        {"2\ngfs.txt\n7\n", 0},
        {"9\n1\nmissing.txt\n7\n", 0},
        {"4\neta.txt\n7\n", 1},
        {"4\neta.txt\n2\ngfs.txt\n7\n", 1},  // a later good report does not undo it
        {"", 0},
    };
    for (const auto& session : sessions) {
        const ScopedConsole console(session.typed);
        EXPECT_EQ(runMainMenu(fixedStationSet()), session.status) << session.typed;
    }
}

TEST(MainMenu, AConsoleThatTakesNothingGivesExitStatusOne) {
    ScopedTempDirectory dir;
    writeFile("gfs.txt", "FHR 1 06 1 1013 10 5 0 -10 540 80 0 50 270 10\n");
    for (const char* typed : {"7\n", "2\ngfs.txt\n7\n"}) {
        const ScopedConsole console(typed);
        RefusingOutput refusing;
        std::cout.rdbuf(&refusing);
        const int status = runMainMenu(fixedStationSet());
        std::cout.rdbuf(console.out.rdbuf());
        EXPECT_EQ(status, 1) << typed;
    }
    // The report is still written whole.
    EXPECT_TRUE(std::filesystem::is_regular_file("gfs.out"));
}

TEST(MenuChoice, AWordThatNamesNoRunIsToldSoAndReadsNothingMore) {
    for (const char* word : {"0", "07", "1.", "12", "8", "7", "-1", "one", " 1"}) {
        const Choice choice = choose(word, "gfs.txt\n");
        EXPECT_TRUE(choice.noReportLost) << word;
        EXPECT_EQ(choice.told, "Illegal option was entered, try again.\n") << word;
        EXPECT_EQ(choice.next, "gfs.txt") << word;
    }
}

TEST(MenuChoice, OptionOneAsksTheRatioOnlyOnceTheBulletinsAreWhole) {
    ScopedTempDirectory dir;
    const std::string valid = testBulletinText(validTestBulletins());
    std::vector<TestBulletin> noWind = validTestBulletins();
    removeTestRow(noWind[6], "WSP");
    std::vector<TestBulletin> noPrecip = validTestBulletins();
    removeTestRow(noPrecip[8], "P24");
    const std::string notANumber =
        "That is not a number; type the ETA weight as a decimal number, such as 0.6.\n";
    const std::string noRatio = "\nNo ratio was entered, so no forecast was written.\n";
    const std::string validFile = filePrompt + "You have a valid file.\n";
    const struct {
        std::string bulletins;
        std::string typed;
        std::string toldFirst;  // what the console shows first, or all of it when no report
        bool report;
        std::string next;
    } runs[] = {
        {testBulletinText(noWind), "bulletins.txt\n0.5\n7",
         // Refused: the file is never called valid first.
         filePrompt + "The WSP row of bulletin 7 (KMHE, AVN group) is missing or could not be "
                      "read.\n",
         false, "0.5"},
        {testBulletinText(noPrecip), "bulletins.txt\n0.5\n",
         filePrompt + "The P24 row of bulletin 9 (KBKX, MRF group) is missing or could not be "
                      "read.\n",
         false, "0.5"},
        {valid, "bulletins.txt\nsixty  --5 1e999\n0.6 next",
         validFile + ratioPrompt + notANumber + ratioPrompt + notANumber + ratioPrompt +
             notANumber + ratioPrompt + "The AVNratio value then has to be: 0.4\n\n",
         true, "next"},
        {valid, "bulletins.txt\n", validFile + ratioPrompt + noRatio, false, ""},
        {valid, "bulletins.txt\nhalf\n",
         validFile + ratioPrompt + notANumber + ratioPrompt + noRatio, false, ""},
    };
    for (const auto& run : runs) {
        std::filesystem::remove("bulletins.out");
        writeFile("bulletins.txt", run.bulletins);
        const Choice choice = choose("1", run.typed);
        EXPECT_TRUE(choice.noReportLost) << run.typed;
        if (run.report) {
            EXPECT_TRUE(choice.told.starts_with(run.toldFirst)) << choice.told;
        } else {
            EXPECT_EQ(choice.told, run.toldFirst) << run.typed;
        }
        EXPECT_EQ(std::filesystem::exists("bulletins.out"), run.report) << run.typed;
        EXPECT_EQ(choice.next, run.next) << run.typed;
    }
}

TEST(MenuChoice, OptionOneLeavesTheConsoleLeftJustified) {
    ScopedTempDirectory dir;
    writeFile("bulletins.txt", testBulletinText(validTestBulletins()));
    std::istringstream in("bulletins.txt\n1\n");
    std::ostringstream console;
    EXPECT_TRUE(runMenuChoice("1", in, console, fixedStationSet()));
    EXPECT_TRUE(console.flags() & std::ios::left);
    EXPECT_FALSE(console.flags() & std::ios::fixed);
    EXPECT_EQ(console.precision(), 6);
}
