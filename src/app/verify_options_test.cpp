#include "app/verify_options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

TEST(VerifyOptions, ReadsEachOptionAndRefusesWhatIsWrong) {
    VerifyRequest request;
    std::string fault;
    const std::vector<const char*> words = {"--days", "30",    "--end=12/01/2026", "--offline",
                                            "--csv",  "v.csv", "--plot",           "v.svg"};
    ASSERT_TRUE(readVerifyRequest(words, request, fault)) << fault;
    EXPECT_EQ(request.days, 30);
    EXPECT_EQ(request.end, (CalendarDate{2026, 12, 1}));
    EXPECT_TRUE(request.offline);
    EXPECT_EQ(request.csv, "v.csv");
    EXPECT_EQ(request.plot, "v.svg");
    struct Refusal {
        std::vector<const char*> words;
        const char* fault;
    };
    const Refusal refusals[] = {
        {{"--days", "0"}, "--days takes one whole number of days, 1 to 400"},
        {{"--days", "401"}, "--days takes one whole number of days, 1 to 400"},
        {{"--days", "3x"}, "--days takes one whole number of days, 1 to 400"},
        {{"--days", "3", "--days", "4"}, "--days takes one whole number of days, 1 to 400"},
        {{"--end", "2026-12-01"}, "--end takes one date written as 12/08/2026"},
        {{"--csv"}, "--csv needs a value"},
        {{"--csv", "a", "--csv", "b"}, "--csv takes one file name"},
        {{"extra"}, "verify takes no word but its options: extra"},
    };
    for (const Refusal& refusal : refusals) {
        VerifyRequest refused;
        EXPECT_FALSE(readVerifyRequest(refusal.words, refused, fault)) << refusal.fault;
        EXPECT_EQ(fault, refusal.fault);
    }
}

TEST(VerifyOptions, WxguideRatioChoosesTheBlendScored) {
    VerifyRequest request;
    std::string fault;
    ASSERT_TRUE(readRatioVariable(nullptr, request, fault));
    ASSERT_TRUE(readRatioVariable("", request, fault));
    EXPECT_EQ(request.ratio, 0.5);
    EXPECT_FALSE(request.ratioFromEnvironment);
    ASSERT_TRUE(readRatioVariable("0.65", request, fault)) << fault;
    EXPECT_EQ(request.ratio, 0.65);
    EXPECT_TRUE(request.ratioFromEnvironment);
    EXPECT_FALSE(readRatioVariable("1.2", request, fault));
    EXPECT_EQ(fault, "WXGUIDE_RATIO is not a ratio from 0 to 1: 1.2");
    EXPECT_FALSE(readRatioVariable("half", request, fault));
}
