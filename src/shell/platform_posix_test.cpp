#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <string>

#include "shell/platform.h"
#include "test_support.h"

// A stopping signal that kills the program is POSIX's: on Windows raise() ends it with an
// exit code instead, which a death test cannot tell from a normal exit.

namespace fs = std::filesystem;

TEST(ReportTemporary, AnInterruptDuringTheWriteRemovesItAndStillStopsTheProgram) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "the older report\n");
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        EXPECT_EXIT(
            {
                const std::string temporary = createReportTemporary("gfs.out");
                writeFile(temporary, "half of a new report");
                std::raise(signalNumber);
            },
            testing::KilledBySignal(signalNumber), "");
        EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
        EXPECT_EQ(readFile("gfs.out"), "the older report\n");
    }
}
