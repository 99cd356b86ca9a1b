#include "app/extract_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ExtractOptions, ReadsThePlaceTheStepAndTheNamesOrNamesTheFault) {
    ExtractRequest grib;
    std::string fault;
    const std::vector<const char*> words = {
        "--step", "6", "--point", "44.3,-96.8", "--run", "2022062700", "a.grib2", "--", "-b.grib2"};
    ASSERT_TRUE(readExtractRequest(words, grib, fault)) << fault;
    EXPECT_EQ(grib.step, 6);
    EXPECT_EQ(grib.point, "44.3,-96.8");
    EXPECT_EQ(grib.run, "2022062700");
    EXPECT_EQ(grib.profiles, (std::vector<std::string>{"a.grib2", "-b.grib2"}));
    EXPECT_FALSE(grib.station || grib.columnsName || grib.severeName);

    struct Refusal {
        std::vector<const char*> words;
        std::string fault;
    };
    const Refusal refusals[] = {
        {{"--step", "0", "a.buf"}, "--step takes one whole number of hours from 1 to 240"},
        {{"--step", "241", "a.buf"}, "--step takes one whole number of hours from 1 to 240"},
        {{"--step", "3h", "a.buf"}, "--step takes one whole number of hours from 1 to 240"},
        {{"--step", "3", "--step", "3", "a.buf"},
         "--step takes one whole number of hours from 1 to 240"},
        {{"--columns", "", "a.buf"}, "--columns takes one file name"},
        {{"--severe", "s.txt", "--severe", "t.txt", "a.buf"}, "--severe takes one file name"},
        {{"a.buf", "--run"}, "--run needs a value"},
        {{"--step=0", "a.buf"}, "--step takes one whole number of hours from 1 to 240"},
        {{"--colour=red", "a.buf"}, "unknown option: --colour"},
        {{"--ratio", "0.5", "a.buf"}, "--ratio belongs after 'run'"},
        {{"-q", "a.buf"}, "-q belongs after 'run' or 'assemble'"},
        {{"--columns", "c.txt"}, "no profile given"},
        {{"--point", "1,2", "--station", "KFSD", "a.grib2"},
         "--point and --station name the place twice; give one"},
        {{"a.buf", "b.buf"}, "one profile at a time (b.buf is a second)"},
    };
    for (const Refusal& refusal : refusals) {
        ExtractRequest request;
        std::string told;
        EXPECT_FALSE(readExtractRequest(refusal.words, request, told)) << refusal.fault;
        EXPECT_EQ(told, refusal.fault);
    }
    // The edges of the step are taken.
    for (const char* step : {"1", "240"}) {
        ExtractRequest request;
        const std::vector<const char*> edge = {"--step", step, "a.buf"};
        EXPECT_TRUE(readExtractRequest(edge, request, fault)) << step << ": " << fault;
    }
}
