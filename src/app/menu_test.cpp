#include "app/menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <streambuf>
#include <string>

#include "blend/station_blend.h"
#include "test_support.h"

namespace {

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
