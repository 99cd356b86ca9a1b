#include "app/assemble_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(AssembleOptions, ReadsTheDateTheOutputAndTheProductsOrNamesTheFault) {
    AssembleRequest request;
    std::string fault;
    const std::vector<const char*> words = {
        "-q", "--date=12/08/2026", "feed.txt", "--output", "today.txt", "-", "--", "--odd.txt"};
    ASSERT_TRUE(readAssembleRequest(words, request, fault)) << fault;
    EXPECT_TRUE(request.quiet);
    ASSERT_TRUE(request.date.has_value());
    EXPECT_EQ(writeCalendarDate(*request.date), "12/08/2026");
    EXPECT_EQ(request.output, "today.txt");
    EXPECT_EQ(request.products, (std::vector<std::string>{"feed.txt", "-", "--odd.txt"}));

    struct Refusal {
        std::vector<const char*> words;
        std::string fault;
    };
    const Refusal refusals[] = {
        {{"--date", "12/08/2026", "--date", "12/08/2026", "a.txt"},
         "--date takes one date written as 12/08/2026"},
        {{"a.txt", "--date"}, "--date needs a value"},
        {{"--output=", "a.txt"}, "--output takes one file name"},
        {{"--output", "x", "--output", "y", "a.txt"}, "--output takes one file name"},
        {{"--count", "3", "a.txt"}, "--count belongs after 'stations'"},
        {{"-x", "a.txt"}, "unknown option: -x"},
        {{"-q", "--output", "x"}, "no product given"},
        {{"-", "a.txt", "-"}, "- (standard input) is given twice"},
    };
    for (const Refusal& refusal : refusals) {
        AssembleRequest refused;
        std::string told;
        EXPECT_FALSE(readAssembleRequest(refusal.words, refused, told)) << refusal.fault;
        EXPECT_EQ(told, refusal.fault);
    }
}
