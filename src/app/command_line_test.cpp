#include "app/command_line.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Answer {
    std::optional<int> status;
    std::string out;
    std::string err;
};

Answer answer(std::vector<const char*> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    StationSet set;
    const std::optional<int> status = answerCommandLine(arguments, out, err, set);
    return {status, out.str(), err.str()};
}

}  // namespace

TEST(CommandLine, NoArgumentsRunTheMenuAndPrintNothing) {
    const Answer none = answer({});
    EXPECT_FALSE(none.status.has_value());
    EXPECT_EQ(none.out + none.err, "");
}

TEST(CommandLine, HelpAndVersionAnswerOnStandardOutput) {
    const Answer help = answer({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: wxguide [--help | --version]\n", 0), 0u);
    EXPECT_NE(help.out.find("standard input"), std::string::npos);
    EXPECT_NE(help.out.find("man wxguide"), std::string::npos);
    EXPECT_EQ(help.err, "");

    const Answer version = answer({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("wxguide ") + WXGUIDE_VERSION + "\n");
    EXPECT_EQ(version.err, "");
}

TEST(CommandLine, AnyOtherArgumentsGiveTheUsageOnStandardErrorAndStatusTwo) {
    const std::string usage = answer({"--help"}).out;
    const std::array<std::vector<const char*>, 7> refused = {{{"-h"},
                                                              {"--HELP"},
                                                              {"help"},
                                                              {"gfs.txt"},
                                                              {""},
                                                              {"--help", "--version"},
                                                              {"--version", "extra"}}};
    for (const std::vector<const char*>& arguments : refused) {
        const Answer refusal = answer(arguments);
        SCOPED_TRACE(arguments.size() == 1 ? arguments[0] : "two arguments");
        EXPECT_EQ(refusal.status, 2);
        EXPECT_EQ(refusal.out, "");
        EXPECT_EQ(refusal.err.substr(refusal.err.size() - usage.size()), usage);
        EXPECT_EQ(refusal.err.rfind("wxguide: ", 0), 0u);
    }
}

TEST(CommandLine, AFailedWriteIsNoSuccess) {
    std::ostringstream out;
    std::ostringstream err;
    out.setstate(std::ios::badbit);
    const std::array<const char*, 1> version = {"--version"};
    StationSet set;
    EXPECT_EQ(answerCommandLine(version, out, err, set), 1);
}

TEST(CommandLine, AssembleTakesTheWordsAfterIt) {
    const Answer help = answer({"--help"});
    EXPECT_NE(help.out.find("\n       wxguide assemble [--date DATE] [--output FILE] PRODUCT...\n"),
              std::string::npos);

    // Its own usage errors, not the program's: the words after it are its own.
    const Answer noProduct = answer({"assemble", "--output", "today.txt"});
    EXPECT_EQ(noProduct.status, 2);
    EXPECT_EQ(noProduct.out, "");
    EXPECT_EQ(noProduct.err.rfind("wxguide assemble: no product given\n", 0), 0u);

    const Answer missing = answer({"assemble", "no-such-product.txt"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "wxguide assemble: no-such-product.txt cannot be opened; nothing was written.\n");
}
