#include "app/run_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Refusal {
    std::vector<const char*> words;
    std::string fault;
};

}  // namespace

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
