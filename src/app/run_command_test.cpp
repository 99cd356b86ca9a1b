#include "app/run_command.h"
#include "app/run_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "blend/station_blend.h"
#include "io/platform.h"
#include "test_support.h"

namespace {

struct Refusal {
    std::vector<const char*> words;
    std::string fault;
};

// The report call a case makes fail, and at which of its calls (0: none fails).
enum class FailingCall { none, write, sync, close, rename };

struct InjectedFault {
    FailingCall call;
    int nth;
};

// The case under way, for the replaced calls (plain function pointers hold no state).
InjectedFault currentFault{FailingCall::none, 0};
int callsMade = 0;

bool failsNow(FailingCall call) {
    return currentFault.call == call && ++callsMade == currentFault.nth;
}

// Short writes, so a report takes several write calls and a late one can fail.
long cutWrite(int descriptor, const char* data, std::size_t size) {
    if (failsNow(FailingCall::write)) {
        return -1;
    }
    return systemReportCalls().write(descriptor, data, std::min<std::size_t>(size, 200));
}

bool failingSync(int descriptor) {
    return !failsNow(FailingCall::sync) && systemReportCalls().sync(descriptor);
}

// The descriptor is closed all the same, as a failing close(2) does.
bool failingClose(int descriptor) {
    const bool closed = systemReportCalls().close(descriptor);
    return !failsNow(FailingCall::close) && closed;
}

bool failingRename(const char* from, const char* to) {
    return !failsNow(FailingCall::rename) && systemReportCalls().rename(from, to);
}

// Puts the system's own calls back however the test ends.
struct InjectedReportCalls {
    explicit InjectedReportCalls(InjectedFault fault) {
        currentFault = fault;
        callsMade = 0;
        reportCalls() = {cutWrite, failingSync, failingClose, failingRename};
    }
    ~InjectedReportCalls() {
        reportCalls() = systemReportCalls();
    }
    InjectedReportCalls(const InjectedReportCalls&) = delete;
    InjectedReportCalls& operator=(const InjectedReportCalls&) = delete;
};

// Three forecast hours of a model column file: a report of four lines.
constexpr const char* threeHours =
    "GFS MODEL COLUMN FORECAST\nFHR\n"
    "|   3 | 1016.1  15.8  11.5   2.8  -13.9  5566  50  0.0  31 147  11\n"
    "|   6 | 1015.3  21.1  12.7   2.5  -14.4  5577  42  0.0  37 159  12\n"
    "|   9 | 1014.6  23.5  13.2   2.7  -13.7  5571  38  0.0  13 172  14\n";

}  // namespace

TEST(RunCommand, AFailedWriteSyncCloseOrRenameKeepsTheOlderReportAndExitsWithOne) {
    const InjectedFault faults[] = {
        {FailingCall::write, 1}, {FailingCall::write, 2}, {FailingCall::write, 4},
        {FailingCall::sync, 1},  {FailingCall::close, 1}, {FailingCall::rename, 1},
    };
    for (const InjectedFault fault : faults) {
        const std::string label = "call " + std::to_string(static_cast<int>(fault.call)) +
                                  ", number " + std::to_string(fault.nth);
        ScopedTempDirectory dir;
        writeFile("gfs.txt", threeHours);
        writeFile("gfs.out", "the older report\n");
        std::ostringstream out;
        std::ostringstream err;
        const std::vector<const char*> words = {"3", "gfs.txt"};
        int status = 0;
        {
            const InjectedReportCalls injected(fault);
            status = runCommand(words, fixedStationSet(), out, err);
        }
        EXPECT_EQ(status, 1) << label;
        EXPECT_EQ(callsMade, fault.nth) << label << ": the failing call was never made";
        EXPECT_EQ(readFile("gfs.out"), "the older report\n") << label;
        EXPECT_EQ(entriesIn("."), 2) << label << ": a temporary file was left";
        EXPECT_NE(err.str().find("The report file gfs.out could not be written"), std::string::npos)
            << label << ": " << err.str();
        // Nothing was written: nothing is described.
        EXPECT_EQ(err.str().find("gfs.out: model"), std::string::npos) << err.str();
    }

    // The same run with no call failing, through the same short writes, replaces it.
    ScopedTempDirectory dir;
    writeFile("gfs.txt", threeHours);
    writeFile("gfs.out", "the older report\n");
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<const char*> words = {"3", "gfs.txt"};
    const InjectedReportCalls injected({FailingCall::none, 0});
    EXPECT_EQ(runCommand(words, fixedStationSet(), out, err), 0) << err.str();
    const std::string report = readFile("gfs.out");
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 4) << report;
    EXPECT_EQ(entriesIn("."), 2);
}

TEST(RunCommand, ReadsTheOptionTheFileAndOptionOnesRatioInAnyPlace) {
    RunRequest request;
    std::string fault;
    const std::vector<const char*> blend = {"--ratio", "0.6", "1", "today.txt"};
    ASSERT_TRUE(readRunRequest(blend, request, fault)) << fault;
    EXPECT_EQ(request.option, 1);
    EXPECT_EQ(request.dataName, "today.txt");
    EXPECT_EQ(request.etaRatio, 0.6);

    for (const char* ratio : {"0", "1", "1.0", ".5", "5e-1"}) {
        const std::vector<const char*> edge = {"1", "today.txt", "--ratio", ratio};
        RunRequest edgeRequest;
        EXPECT_TRUE(readRunRequest(edge, edgeRequest, fault)) << ratio << ": " << fault;
    }

    // One word or two, and --quiet (-q) anywhere.
    for (const std::vector<const char*>& words :
         {std::vector<const char*>{"1", "today.txt", "--ratio=0.6", "-q"},
          std::vector<const char*>{"--quiet", "1", "--ratio", "0.6", "today.txt"}}) {
        RunRequest quiet;
        ASSERT_TRUE(readRunRequest(words, quiet, fault)) << fault;
        EXPECT_EQ(quiet.etaRatio, 0.6);
        EXPECT_TRUE(quiet.quiet);
        EXPECT_EQ(quiet.dataName, "today.txt");
    }
    EXPECT_FALSE(request.quiet);

    RunRequest table;
    const std::vector<const char*> severe = {"6", "severe.txt"};
    ASSERT_TRUE(readRunRequest(severe, table, fault)) << fault;
    EXPECT_EQ(table.option, 6);
    EXPECT_EQ(table.dataName, "severe.txt");
    EXPECT_FALSE(table.etaRatio.has_value());
    EXPECT_FALSE(table.sideFiles.plot || table.sideFiles.csv);

    // --plot and --csv after the command, wherever they stand among its words.
    const struct {
        std::vector<const char*> words;
        bool plot;
        bool csv;
    } sideFileCases[] = {
        {{"2", "gfs.txt", "--plot"}, true, false},
        {{"--csv", "2", "gfs.txt"}, false, true},
        {{"2", "--plot", "gfs.txt", "--csv"}, true, true},
    };
    for (const auto& c : sideFileCases) {
        RunRequest sides;
        ASSERT_TRUE(readRunRequest(c.words, sides, fault)) << fault;
        EXPECT_EQ(sides.dataName, "gfs.txt");
        EXPECT_EQ(sides.sideFiles.plot, c.plot);
        EXPECT_EQ(sides.sideFiles.csv, c.csv);
    }
}

TEST(RunCommand, AWrittenReportIsFollowedByOneLineNamingItsDataUnlessQuiet) {
    ScopedTempDirectory dir;
    writeFile("gfs.txt", threeHours);
    writeFile("kdsm.txt",
              "GFS COLUMNS   KDSM DES MOINES\nRUN 00Z 11 MAR 2021\n" + std::string(threeHours));
    const struct {
        std::vector<const char*> words;
        std::string told;
    } cases[] = {
        {{"3", "gfs.txt"},
         "You have a valid file.\nOnly 3 of 29 forecast hours could be read from gfs.txt.\n"
         "gfs.out: model GFS, place not given, run not given.\n"},
        {{"3", "kdsm.txt"},
         "You have a valid file.\nOnly 3 of 29 forecast hours could be read from kdsm.txt.\n"
         "kdsm.out: model GFS, place KDSM DES MOINES, run 00Z 11 MAR 2021.\n"},
        {{"-q", "3", "gfs.txt"}, "Only 3 of 29 forecast hours could be read from gfs.txt.\n"},
        {{"3", "nosuch.txt"}, "You entered a file name wich does not exist in the directory.\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        runCommand(c.words, fixedStationSet(), out, err);
        EXPECT_EQ(err.str(), c.told) << c.words[1];
        EXPECT_EQ(out.str(), "");
    }
}

TEST(RunCommand, RefusesEachFaultWithItsOwnLine) {
    const std::vector<Refusal> refusals = {
        {{"1", "today.txt"}, "option 1 needs --ratio R, the ETA weight from 0 to 1 (such as 0.6)"},
        {{"1", "today.txt", "--ratio", "60"},
         "--ratio takes a number from 0 to 1 (such as 0.6), not 60"},
        {{"1", "today.txt", "--ratio", "-0.1"},
         "--ratio takes a number from 0 to 1 (such as 0.6), not -0.1"},
        {{"1", "today.txt", "--ratio", "0.6x"},
         "--ratio takes a number from 0 to 1 (such as 0.6), not 0.6x"},
        {{"1", "today.txt", "--ratio"}, "--ratio needs a value"},
        {{"1", "today.txt", "--ratio", "0.5", "--ratio", "0.6"}, "--ratio is given twice"},
        {{"2", "gfs.txt", "--ratio", "0.6"}, "--ratio is for option 1 only"},
        {{"8", "gfs.txt"}, "the option must be a run from 1 to 6, not 8"},
        {{"0", "gfs.txt"}, "the option must be a run from 1 to 6, not 0"},
        {{"7", "gfs.txt"}, "the option must be a run from 1 to 6, not 7"},
        {{"02", "gfs.txt"}, "the option must be a run from 1 to 6, not 02"},
        {{"2", "gfs.txt", "--quiet=yes"}, "--quiet takes no value"},
        {{"2", "gfs.txt", "--count", "3"}, "--count belongs after 'stations'"},
        {{"2", "gfs.txt", "--stations", "KFSD=1"},
         "--stations belongs before the command (run, assemble, stations)"},
        {{"2", "gfs.txt", "--verbose"}, "unknown option: --verbose"},
        {{"1", "today.txt", "--ratio=6e-1x"},
         "--ratio takes a number from 0 to 1 (such as 0.6), not 6e-1x"},
        {{"2"}, "needs an option from 1 to 6 and one data file"},
        {{}, "needs an option from 1 to 6 and one data file"},
        {{"2", "gfs.txt", "eta.txt"}, "needs an option from 1 to 6 and one data file"},
    };
    for (const Refusal& refusal : refusals) {
        RunRequest request;
        std::string fault;
        EXPECT_FALSE(readRunRequest(refusal.words, request, fault)) << refusal.fault;
        EXPECT_EQ(fault, refusal.fault);
    }
}
