#include "app/fetch_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(FetchOptions, ReadsBothProductsOrNamesTheFault) {
    FetchRequest bulletins;
    std::string fault;
    const std::vector<const char*> words = {"-q",        "bulletins", "--date=12/08/2026",
                                            "--offline", "--output",  "b.txt"};
    ASSERT_TRUE(readFetchRequest(words, bulletins, fault)) << fault;
    EXPECT_EQ(bulletins.what, FetchRequest::What::bulletins);
    EXPECT_TRUE(bulletins.quiet && bulletins.offline);
    EXPECT_EQ(writeCalendarDate(*bulletins.date), "12/08/2026");
    EXPECT_EQ(bulletins.output, "b.txt");

    FetchRequest profile;
    const std::vector<const char*> profileWords = {"profile", "hrrr", "kdsm", "--run",
                                                   "2026120823"};
    ASSERT_TRUE(readFetchRequest(profileWords, profile, fault)) << fault;
    EXPECT_EQ(profile.model, "hrrr");
    EXPECT_EQ(profile.station, "KDSM");
    EXPECT_EQ(writeRunTime(*profile.run), "2026120823");

    struct Refusal {
        std::vector<const char*> words;
        std::string fault;
    };
    const Refusal refusals[] = {
        {{}, "fetch what? bulletins or profile"},
        {{"grib"}, "unknown product to fetch: grib (bulletins or profile)"},
        {{"bulletins", "KBKX"}, "bulletins takes no other word: KBKX"},
        {{"bulletins", "--run", "2026120812"}, "--run is for profile; bulletins take --date"},
        {{"bulletins", "--date", "13/01/2026"}, "--date takes one date written as 12/08/2026"},
        {{"bulletins", "--date"}, "--date needs a value"},
        {{"bulletins", "--offline=1"}, "--offline takes no value"},
        {{"bulletins", "--output", "a", "--output=b"}, "--output takes one file name"},
        {{"bulletins", "-x"}, "unknown option: -x"},
        {{"profile", "gfs"}, "profile takes a MODEL (gfs, rap or hrrr) and a STATION (KDSM)"},
        {{"profile", "nam", "KDSM"}, "the model is gfs, rap or hrrr, not nam"},
        {{"profile", "gfs", "DSM"}, "the station is a four-letter id such as KDSM, not DSM"},
        {{"profile", "gfs", "KDSM", "--run", "2026120824"},
         "--run takes one run written as 2026120812 (year, month, day, hour UTC)"},
        {{"profile", "gfs", "KDSM", "--run", "2026022912"},
         "--run takes one run written as 2026120812 (year, month, day, hour UTC)"},
        {{"profile", "gfs", "KDSM", "--date", "12/08/2026"},
         "--date is for bulletins; a profile takes --run"},
    };
    for (const Refusal& refusal : refusals) {
        FetchRequest refused;
        std::string told;
        EXPECT_FALSE(readFetchRequest(refusal.words, refused, told)) << refusal.fault;
        EXPECT_EQ(told, refusal.fault);
    }
}

TEST(FetchOptions, StepsRunsBackOverDaysMonthsAndYears) {
    RunTime run;
    ASSERT_TRUE(readRunTime("2027010102", run));
    EXPECT_EQ(writeRunTime(hoursBefore(run, 3)), "2026123123");
    EXPECT_EQ(writeRunTime(hoursBefore(run, 24)), "2026123102");
    ASSERT_TRUE(readRunTime("2024030100", run));
    EXPECT_EQ(writeRunTime(hoursBefore(run, 1)), "2024022923");
}
