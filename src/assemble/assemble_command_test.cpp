#include "assemble/assemble_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "io/platform.h"
#include "test_support.h"

namespace {

bool failingRename(const char*, const char*) {
    return false;
}

// The system's own report calls come back however a case ends.
struct RenameFails {
    RenameFails() {
        reportCalls().rename = failingRename;
    }
    ~RenameFails() {
        reportCalls() = systemReportCalls();
    }
    RenameFails(const RenameFails&) = delete;
    RenameFails& operator=(const RenameFails&) = delete;
};

struct Assembled {
    int status;
    std::string out;
    std::string err;
};

Assembled assemble(const AssembleRequest& request) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runAssemble(request, out, err);
    return {status, out.str(), err.str()};
}

// The bulletins of a file in option 1's order, one blank line between them.
std::vector<std::string> bulletinsOf(const std::string& file) {
    std::vector<std::string> bulletins;
    std::size_t start = 0;
    for (std::size_t blank = file.find("\n\n"); blank != std::string::npos;
         blank = file.find("\n\n", start)) {
        bulletins.push_back(file.substr(start, blank + 1 - start));
        start = blank + 2;
    }
    bulletins.push_back(file.substr(start));
    return bulletins;
}

std::string joined(const std::vector<std::string>& bulletins) {
    std::string file;
    for (const std::string& bulletin : bulletins) {
        file += (file.empty() ? "" : "\n") + bulletin;
    }
    return file;
}

}  // namespace

TEST(AssembleCommand, AnyOrderOfTheBulletinsGivesOptionOnesOrder) {
    ScopedTempDirectory folder;
    // The example as the feed frames it: assembled once, it is in option 1's order.
    const Assembled first =
        assemble({std::nullopt, std::nullopt, {WXGUIDE_EXAMPLES_DIR "/bulletins.txt"}, false});
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string ordered = first.out;
    const std::vector<std::string> bulletins = bulletinsOf(ordered);
    ASSERT_EQ(bulletins.size(), 12u);

    std::vector<std::string> reversed = bulletins;
    std::reverse(reversed.begin(), reversed.end());
    const std::vector<std::string> firstHalf(bulletins.begin(), bulletins.begin() + 6);
    const std::vector<std::string> secondHalf(bulletins.begin() + 6, bulletins.end());
    writeFile("ordered.txt", ordered);
    writeFile("reversed.txt", joined(reversed));
    writeFile("first.txt", joined(firstHalf));
    writeFile("second.txt", joined(secondHalf));

    const std::vector<std::vector<std::string>> cases = {
        {"ordered.txt"}, {"reversed.txt"}, {"second.txt", "first.txt"}};
    for (const std::vector<std::string>& products : cases) {
        SCOPED_TRACE(products.front());
        const Assembled again = assemble({std::nullopt, std::nullopt, products, false});
        EXPECT_EQ(again.status, 0);
        EXPECT_EQ(again.err, "");
        EXPECT_EQ(again.out, ordered);
    }
}

TEST(AssembleCommand, TheOutputIsWrittenWholeOrTheOlderFileIsKept) {
    ScopedTempDirectory folder;
    const std::string example = WXGUIDE_EXAMPLES_DIR "/bulletins.txt";
    const Assembled ordered = assemble({std::nullopt, std::nullopt, {example}, false});
    ASSERT_EQ(ordered.status, 0);

    struct Case {
        const char* name;
        std::vector<std::string> products;
        bool renameFails;
        int status;
        std::string err;
        std::string outputAfter;
    };
    const Case cases[] = {
        {"written", {example}, false, 0, "", ordered.out},
        {"lost",
         {example},
         true,
         1,
         "wxguide assemble: out.txt could not be written; nothing was.\n",
         "older"},
        {"output is a product",
         {example, "out.txt"},
         false,
         2,
         "wxguide assemble: --output out.txt is the product out.txt; nothing was written.\n",
         "older"},
        {"missing product",
         {"nosuch.txt"},
         false,
         1,
         "wxguide assemble: nosuch.txt does not exist; nothing was written.\n",
         "older"},
        {"no bulletin",
         {"empty.txt"},
         false,
         1,
         "wxguide assemble: the products hold no bulletin that option 1 takes; nothing was "
         "written.\n",
         "older"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("out.txt", "older");
        writeFile("empty.txt", "");
        Assembled answer{};
        if (c.renameFails) {
            const RenameFails fails;
            answer = assemble({std::nullopt, "out.txt", c.products, false});
        } else {
            answer = assemble({std::nullopt, "out.txt", c.products, false});
        }
        EXPECT_EQ(answer.status, c.status);
        EXPECT_EQ(answer.out, "");
        EXPECT_EQ(answer.err, c.err);
        EXPECT_EQ(readTextFile("out.txt"), c.outputAfter);
        EXPECT_EQ(entriesIn("."), 2) << "a temporary file left";
    }
}

TEST(AssembleCommand, TheBulletinsSeenButNotTakenAreNamedWithWhy) {
    ScopedTempDirectory folder;
    std::string example = readFile(WXGUIDE_EXAMPLES_DIR "/bulletins.txt");
    const std::string run = "NBS GUIDANCE   12/08/2026  1200 UTC";
    const std::size_t at = example.find(run);
    ASSERT_NE(at, std::string::npos);
    std::string evening = example;
    evening.replace(at, run.size(), "NBS GUIDANCE   12/08/2026  2100 UTC");
    writeFile("evening.txt", evening);
    writeFile("day.txt", example);

    // Another run of a station of the set, among the bulletins of the day.
    const Assembled late = assemble({std::nullopt, std::nullopt, {"evening.txt"}, false});
    EXPECT_EQ(late.status, 1);
    EXPECT_TRUE(late.err.starts_with(
        "passed over: KBKX NBM V5.0 NBS GUIDANCE 12/08/2026 2100 UTC: another run (option 1 "
        "takes NAM, NBS and GFS of 1200 UTC, GFSX of 0000 UTC)\nmissing: "))
        << late.err;

    // Another date than the one asked for: the first few named, the rest counted.
    CalendarDate seventh;
    ASSERT_TRUE(readCalendarDate("12/07/2026", seventh));
    const Assembled otherDay = assemble({seventh, std::nullopt, {"day.txt"}, false});
    EXPECT_EQ(otherDay.status, 1);
    const std::string why = "another date than --date 12/07/2026";
    EXPECT_TRUE(otherDay.err.starts_with(
        "passed over: KBKX NBM V5.0 NBS GUIDANCE 12/08/2026 1200 UTC: " + why +
        "\npassed over: KHON NBM V5.0 NBS GUIDANCE 12/08/2026 1200 UTC: " + why +
        "\npassed over: KMHE NBM V5.0 NBS GUIDANCE 12/08/2026 1200 UTC: " + why +
        "\npassed over: 9 more bulletins of " + why + "\n"))
        << otherDay.err;

    // Another station set: nothing taken at all.
    std::ostringstream out;
    std::ostringstream err;
    const StationSet kdsm{{"KDSM"}, {1.0}};
    EXPECT_EQ(runAssemble({std::nullopt, std::nullopt, {"day.txt"}, false}, out, err, kdsm), 1);
    const std::string elsewhere = "another station set (the set is KDSM)";
    EXPECT_EQ(err.str(),
              "passed over: KBKX NBM V5.0 NBS GUIDANCE 12/08/2026 1200 UTC: " + elsewhere +
                  "\npassed over: KHON NBM V5.0 NBS GUIDANCE 12/08/2026 1200 UTC: " + elsewhere +
                  "\npassed over: KMHE NBM V5.0 NBS GUIDANCE 12/08/2026 1200 UTC: " + elsewhere +
                  "\npassed over: 9 more bulletins of " + elsewhere +
                  "\nwxguide assemble: the products hold no bulletin that option 1 takes; "
                  "nothing was written.\n");
}
