#include "app/today_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TodayOptions, ReadsEveryOptionInAnyOrder) {
    TodayRequest request;
    std::string fault;
    const std::vector<const char*> words = {"--at=2026120815", "--station", "kdsm",    "--offline",
                                            "--folder",        "day",       "--ratio", "0.6"};
    ASSERT_TRUE(readTodayRequest(words, nullptr, request, fault)) << fault;
    EXPECT_EQ(request.ratio, "0.6");
    EXPECT_EQ(request.station, "KDSM");
    EXPECT_EQ(writeRunTime(*request.at), "2026120815");
    EXPECT_EQ(request.folder, "day");
    EXPECT_TRUE(request.offline);
}

TEST(TodayOptions, TheWeightComesFromTheOptionBeforeTheEnvironment) {
    TodayRequest fromEnvironment;
    std::string fault;
    ASSERT_TRUE(readTodayRequest({}, "0.4", fromEnvironment, fault)) << fault;
    EXPECT_EQ(fromEnvironment.ratio, "0.4");
    TodayRequest fromOption;
    const std::vector<const char*> words = {"--ratio", "1"};
    ASSERT_TRUE(readTodayRequest(words, "0.4", fromOption, fault)) << fault;
    EXPECT_EQ(fromOption.ratio, "1");
}

TEST(TodayOptions, RefusesWithTheFaultInOneLine) {
    struct Refusal {
        std::vector<const char*> words;
        const char* environment;
        std::string fault;
    };
    const Refusal refusals[] = {
        {{},
         nullptr,
         "needs option 1's ETA weight, from 0 to 1: give --ratio R (such as --ratio 0.6), or set "
         "WXGUIDE_RATIO=R in the environment"},
        {{"--ratio", "1.5"}, nullptr, "--ratio takes a number from 0 to 1 (such as 0.6), not 1.5"},
        {{}, "six", "WXGUIDE_RATIO takes a number from 0 to 1 (such as 0.6), not six"},
        {{"--ratio", "0.6", "--ratio=0.5"}, nullptr, "--ratio is given twice"},
        {{"--ratio", "0.6", "--station", "DSM"},
         nullptr,
         "--station takes one four-letter id such as KDSM"},
        {{"--ratio", "0.6", "--at", "2026120824"},
         nullptr,
         "--at takes one time written as 2026120815 (year, month, day, hour UTC)"},
        {{"--ratio", "0.6", "--folder="}, nullptr, "--folder takes one folder name"},
        {{"--ratio", "0.6", "day"}, nullptr, "takes no file or other word: day"},
        {{"--ratio", "0.6", "--offline=yes"}, nullptr, "--offline takes no value"},
        {{"--ratio", "0.6", "--count", "4"}, nullptr, "--count belongs after 'stations'"},
        {{"--ratio"}, nullptr, "--ratio needs a value"},
    };
    for (const Refusal& refusal : refusals) {
        TodayRequest request;
        std::string fault;
        EXPECT_FALSE(readTodayRequest(refusal.words, refusal.environment, request, fault));
        EXPECT_EQ(fault, refusal.fault);
    }
}
