#include "today/today_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "extract/grib_extract.h"
#include "test_support.h"

namespace {

// The commands the day ran, one line each, and the fake's answers: a command line that
// holds one of `failing` fails with a message, as a product not out does.
struct FakeCommands {
    std::vector<std::string> ran;
    std::vector<std::string> failing;

    CommandRunner runner() {
        return [this](std::span<const std::string> words, std::ostream& out, std::ostream& err) {
            std::string line;
            for (const std::string& word : words) {
                line += (line.empty() ? "" : " ") + word;
            }
            ran.push_back(line);
            for (const std::string& fault : failing) {
                if (line.find(fault) != std::string::npos) {
                    err << "\r\033[Kdownloading: 10 bytes\r\033[Kwxguide fetch: not out <yet>\n";
                    return 1;
                }
            }
            if (words[0] == "run" && words[1] == "1") {
                out << "Day    LowTemp\n\n1      15.658\n";
            }
            err << "wxguide fetch: from 127.0.0.1\n";
            return 0;
        };
    }
};

TodayRequest dayRequest() {
    TodayRequest request;
    request.ratio = "0.6";
    RunTime at;
    readRunTime("2026120815", at);
    request.at = at;
    request.folder = "day";
    return request;
}

const StationSet& fourStations() {
    static const StationSet set = {{"KBKX", "KHON", "KMHE", "KFSD"}, {}};
    return set;
}

}  // namespace

TEST(TodayCommand, RunsEachStepAsTheCommandAForecasterTypes) {
    ScopedTempDirectory folder;
    FakeCommands fake;
    std::ostringstream out;
    ASSERT_EQ(runToday(dayRequest(), fourStations(), fake.runner(), out, nullptr), 0) << out.str();
    std::vector<std::string> expected = {
        "fetch bulletins --date 12/08/2026 --output day/bulletins.txt",
        "run 1 day/bulletins.txt --ratio 0.6",
        "fetch profile gfs KBKX --run 2026120812 --output day/gfs_kbkx.buf",
        "extract --step 3 --columns day/gfs-long.txt --severe day/gfs-severe.txt day/gfs_kbkx.buf",
        "run 2 day/gfs-long.txt",
        "extract --columns day/gfs-short.txt --severe day/gfs-severe.txt day/gfs_kbkx.buf",
        "run 3 day/gfs-short.txt",
        "fetch profile rap KBKX --run 2026120815 --output day/rap_kbkx.buf",
        "extract --step 3 --columns day/rap.txt --severe day/rap-severe.txt day/rap_kbkx.buf",
        "run 4 day/rap.txt",
        "fetch profile hrrr KBKX --run 2026120815 --output day/hrrr_kbkx.buf",
        "extract --step 1 --columns day/hrrr.txt --severe day/hrrr-severe.txt day/hrrr_kbkx.buf",
        "run 5 day/hrrr.txt"};
    if (readsGribFiles()) {
        expected.push_back("fetch grib --station KBKX --run 2026120812 --folder day");
        ASSERT_GT(fake.ran.size(), expected.size());
        EXPECT_TRUE(fake.ran[expected.size()].starts_with(
            "extract --station KBKX --columns day/grib-columns.txt --severe day/grib-severe.txt "
            "day/gfs.2026120812/gfs.t12z.pgrb2.0p25.f003.grib2 "));
        EXPECT_TRUE(fake.ran[expected.size()].ends_with("f087.grib2"));
        expected.push_back(fake.ran[expected.size()]);
        expected.push_back("run 6 day/grib-severe.txt");
    } else {
        expected.push_back("run 6 day/gfs-severe.txt");
    }
    EXPECT_EQ(fake.ran, expected);
    EXPECT_NE(out.str().find("bulletins 12/08/2026: done: day/bulletins.txt\n"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("option 5, HRRR: done: day/hrrr.out\n"), std::string::npos);
    EXPECT_TRUE(out.str().ends_with("page: done: day/index.html\n")) << out.str();
    // The page tells each step's command as typed by hand, runs with their side files.
    const std::string page = readFile("day/index.html");
    EXPECT_NE(page.find("<code>wxguide --plot --csv run 1 day/bulletins.txt --ratio 0.6</code>"),
              std::string::npos);
    EXPECT_NE(page.find("<code>wxguide fetch profile gfs KBKX --run 2026120812 --output "
                        "day/gfs_kbkx.buf</code>"),
              std::string::npos);
}

TEST(TodayCommand, TakesTheNewestRunOutAndGoesOnPastAFailedStep) {
    ScopedTempDirectory folder;
    FakeCommands fake;
    // The newest two HRRR runs are not out; no RAP run of the last day is; yesterday's
    // bulletins are the newest whole.
    fake.failing = {"hrrr KBKX --run 2026120815", "hrrr KBKX --run 2026120814", "profile rap",
                    "--date 12/08/2026"};
    std::ostringstream out;
    EXPECT_EQ(runToday(dayRequest(), fourStations(), fake.runner(), out, nullptr), 1);
    const std::string summary = out.str();
    EXPECT_NE(summary.find("bulletins 12/07/2026: done: day/bulletins.txt\n"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("HRRR profile KBKX 2026120813: done: day/hrrr_kbkx.buf\n"),
              std::string::npos);
    EXPECT_NE(summary.find("RAP profile KBKX: FAILED (none out from 2026120715 to 2026120815: "
                           "wxguide fetch: not out <yet>)\n"),
              std::string::npos);
    EXPECT_NE(summary.find("option 4, RAP: FAILED (no RAP columns)\n"), std::string::npos);
    // 25 hourly RAP runs were asked for, and none run after them needs them.
    EXPECT_EQ(std::count_if(fake.ran.begin(), fake.ran.end(),
                            [](const std::string& line) { return line.find("rap") != line.npos; }),
              25);
    const std::string page = readFile("day/index.html");
    EXPECT_NE(page.find("failed: none out from 2026120715 to 2026120815: wxguide fetch: not out "
                        "&lt;yet&gt;"),
              std::string::npos);
}

// A folder that cannot take files is told with the system's reason before any step runs,
// not as every product "none out".
TEST(TodayCommand, AFolderThatCannotBeWrittenStopsTheDayAtOnce) {
    ScopedTempDirectory folder;
    writeFile("day", "a plain file where the folder belongs\n");
    FakeCommands fake;
    std::ostringstream out;
    EXPECT_EQ(runToday(dayRequest(), fourStations(), fake.runner(), out, nullptr), 1);
    EXPECT_TRUE(out.str().starts_with("folder: FAILED (cannot be written (")) << out.str();
#ifndef _WIN32
    EXPECT_EQ(out.str(), "folder: FAILED (cannot be written (not a directory)): day\n");
#endif
    EXPECT_TRUE(fake.ran.empty());
}

TEST(TodayCommand, BeforeTwelveUtcTheNewestBulletinsAreYesterdays) {
    ScopedTempDirectory folder;
    FakeCommands fake;
    TodayRequest request = dayRequest();
    readRunTime("2026120903", *request.at);
    std::ostringstream out;
    runToday(request, fourStations(), fake.runner(), out, nullptr);
    ASSERT_FALSE(fake.ran.empty());
    EXPECT_EQ(fake.ran.front(), "fetch bulletins --date 12/08/2026 --output day/bulletins.txt");
    EXPECT_EQ(fake.ran[2], "fetch profile gfs KBKX --run 2026120900 --output day/gfs_kbkx.buf");
}
