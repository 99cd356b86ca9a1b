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

    FetchRequest grib;
    const std::vector<const char*> gribWords = {
        "grib", "--point", "41.53,-93.65", "--hours", "0-120", "--step", "1", "--folder", "models"};
    ASSERT_TRUE(readFetchRequest(gribWords, grib, fault)) << fault;
    EXPECT_EQ(grib.what, FetchRequest::What::grib);
    EXPECT_EQ(grib.point, "41.53,-93.65");
    EXPECT_EQ(grib.firstHour, 0);
    EXPECT_EQ(grib.lastHour, 120);
    EXPECT_EQ(grib.step, 1);
    EXPECT_EQ(grib.folder, "models");
    FetchRequest station;
    ASSERT_TRUE(
        readFetchRequest(std::vector<const char*>{"grib", "--station", "kdsm"}, station, fault))
        << fault;
    EXPECT_EQ(station.station, "KDSM");
    EXPECT_FALSE(station.firstHour);

    struct Refusal {
        std::vector<const char*> words;
        std::string fault;
    };
    const Refusal refusals[] = {
        {{}, "fetch what? bulletins, profile or grib"},
        {{"gribs"}, "unknown product to fetch: gribs (bulletins, profile or grib)"},
        {{"grib"}, "grib takes one place: --station ID or --point LAT,LON"},
        {{"grib", "--station", "KDSM", "--point", "41,-93"},
         "grib takes one place: --station ID or --point LAT,LON"},
        {{"grib", "KDSM"}, "grib takes no other word: KDSM (the place is --station or --point)"},
        {{"grib", "--station", "DSM"}, "--station takes one four-letter id such as KDSM"},
        {{"grib", "--station", "KDSM", "--hours", "87-3"},
         "--hours takes the first and last forecast hours, 0 to 384, as 3-87"},
        {{"grib", "--station", "KDSM", "--hours", "3-385"},
         "--hours takes the first and last forecast hours, 0 to 384, as 3-87"},
        {{"grib", "--station", "KDSM", "--hours", "3"},
         "--hours takes the first and last forecast hours, 0 to 384, as 3-87"},
        {{"grib", "--station", "KDSM", "--hours", "-3-6"},
         "--hours takes the first and last forecast hours, 0 to 384, as 3-87"},
        {{"grib", "--station", "KDSM", "--step", "0"},
         "--step takes the hours between files, 1 to 384"},
        {{"grib", "--station", "KDSM", "--folder="}, "--folder takes one folder name"},
        {{"grib", "--station", "KDSM", "--output", "x"},
         "--output is not for grib; it takes --run and --folder"},
        {{"profile", "gfs", "KDSM", "--folder", "x"}, "--folder is for grib"},
        {{"bulletins", "--station", "KDSM"}, "--station is for grib"},
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
