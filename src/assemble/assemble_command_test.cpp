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
         "wxguide assemble: nosuch.txt cannot be opened; nothing was written.\n",
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
