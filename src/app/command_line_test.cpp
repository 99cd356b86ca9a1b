#include "app/command_line.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "io/platform.h"

namespace {

struct Answer {
    std::optional<int> status;
    std::string out;
    std::string err;
};

Answer answer(std::vector<const char*> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> status = answerCommandLine(arguments, out, err).status;
    return {status, out.str(), err.str()};
}

}  // namespace

TEST(CommandLine, NoArgumentsRunTheMenuAndPrintNothing) {
    const Answer none = answer({});
    EXPECT_FALSE(none.status.has_value());
    EXPECT_EQ(none.out + none.err, "");
}

TEST(CommandLine, HelpAndVersionAnswerOnStandardOutputInTheirShortFormsToo) {
    for (const char* word : {"--help", "-h"}) {
        const Answer help = answer({word});
        SCOPED_TRACE(word);
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("Usage: wxguide [-h | --help | -V | --version]\n", 0), 0u);
        EXPECT_NE(
            help.out.find("\n       wxguide run [-q] [--plot] [--csv] OPTION FILE [--ratio R]\n"),
            std::string::npos);
        // A console of 80 columns shows every line whole.
        std::size_t start = 0;
        while (start < help.out.size()) {
            const std::size_t end = help.out.find('\n', start);
            const std::string line = help.out.substr(start, end - start);
            EXPECT_LE(line.size(), 80u) << line;
            start = end == std::string::npos ? help.out.size() : end + 1;
        }
        EXPECT_NE(help.out.find("standard input"), std::string::npos);
        EXPECT_EQ(help.err, "");
    }
    if (platformHelpNotes().acceptsSlashQuestion) {
        // Windows: no manual page nor printf there; the help points at the download's files.
        const Answer slash = answer({"/?"});
        EXPECT_EQ(slash.status, 0);
        EXPECT_EQ(slash.out, answer({"--help"}).out);
        EXPECT_EQ(slash.out.find("man wxguide"), std::string::npos);
        EXPECT_EQ(slash.out.find("/usr/share"), std::string::npos);
        EXPECT_EQ(slash.out.find("printf"), std::string::npos);
    } else {
        EXPECT_NE(answer({"--help"}).out.find("man wxguide"), std::string::npos);
        const Answer slash = answer({"/?"});
        EXPECT_EQ(slash.status, 2);
        EXPECT_EQ(slash.err, "wxguide: unknown command or option: /?\nTry 'wxguide --help'.\n");
    }

    for (const char* word : {"--version", "-V"}) {
        const Answer version = answer({word});
        EXPECT_EQ(version.status, 0) << word;
        EXPECT_EQ(version.out, std::string("wxguide ") + WXGUIDE_VERSION + "\n");
        EXPECT_EQ(version.err, "");
    }
}

TEST(CommandLine, AnyOtherArgumentsNameTheFaultOnOneLineAndGiveStatusTwo) {
    struct Refused {
        std::vector<const char*> arguments;
        std::string fault;
    };
    const std::vector<Refused> refused = {
        {{"--HELP"}, "wxguide: unknown command or option: --HELP"},
        {{"help"}, "wxguide: unknown command or option: help"},
        {{"gfs.txt"}, "wxguide: unknown command or option: gfs.txt"},
        {{""}, "wxguide: unknown command or option: "},
        {{"-v"}, "wxguide: unknown command or option: -v"},
        {{"--help", "--version"}, "wxguide: --help takes no other argument"},
        {{"-V", "extra"}, "wxguide: -V takes no other argument"},
        {{"run", "8", "gfs.txt"}, "wxguide run: the option must be a run from 1 to 6, not 8"},
        // An option of a command, given before it, is named as an option.
        {{"--count", "3"}, "wxguide: --count belongs after 'stations'"},
        {{"--ratio=0.6", "run"}, "wxguide: --ratio belongs after 'run'"},
        {{"--stations", "KFSD=1", "--count", "3"}, "wxguide: --count belongs after 'stations'"},
        {{"--stations=KFSD=1", "--quiet", "run"},
         "wxguide: --quiet belongs after 'run' or 'assemble'"},
        {{"--stations", "KFSD=1", "--bogus"}, "wxguide: unknown option: --bogus"},
        {{"--stations", "KFSD=1", "stations", "--date", "1"},
         "wxguide: --date belongs after 'assemble'"},
        {{"stations", "--count=9"}, "wxguide: --count takes a number from 1 to 8"},
        {{"assemble", "--ratio", "0.6", "x.txt"}, "wxguide assemble: --ratio belongs after 'run'"},
        {{"assemble", "--quiet=1", "x.txt"}, "wxguide assemble: --quiet takes no value"},
        // Wherever an option of another command stands, the fault says where it belongs.
        {{"--stations", "KFSD=1", "extract", "x.buf"},
         "wxguide: --stations belongs before the command (run, assemble, stations)"},
        {{"extract", "--ratio", "0.5", "x.buf"}, "wxguide extract: --ratio belongs after 'run'"},
        {{"run", "2", "gfs.txt", "--step", "3"}, "wxguide run: --step belongs after 'extract'"},
        {{"--step=3", "x.buf"}, "wxguide: --step belongs after 'extract'"},
        {{"extract", "x.buf", "--plot"},
         "wxguide extract: --plot belongs first of all, before the command, or after 'run' or "
         "'verify'"},
        {{"assemble", "--date=12/8", "x.txt"},
         "wxguide assemble: --date takes one date written as 12/08/2026"},
    };
    for (const Refused& refusal : refused) {
        const Answer answered = answer(refusal.arguments);
        SCOPED_TRACE(refusal.fault);
        EXPECT_EQ(answered.status, 2);
        EXPECT_EQ(answered.out, "");
        EXPECT_EQ(answered.err, refusal.fault + "\nTry 'wxguide --help'.\n");
    }
}

TEST(CommandLine, AFailedWriteIsNoSuccess) {
    std::ostringstream out;
    std::ostringstream err;
    out.setstate(std::ios::badbit);
    const std::array<const char*, 1> version = {"--version"};
    EXPECT_EQ(answerCommandLine(version, out, err).status, 1);
}

TEST(CommandLine, AssembleTakesTheWordsAfterIt) {
    const Answer help = answer({"--help"});
    EXPECT_NE(
        help.out.find("\n       wxguide assemble [-q] [--date DATE] [--output FILE] PRODUCT...\n"),
        std::string::npos);

    // Its own usage errors, not the program's: the words after it are its own.
    const Answer noProduct = answer({"assemble", "--output", "today.txt"});
    EXPECT_EQ(noProduct.status, 2);
    EXPECT_EQ(noProduct.out, "");
    EXPECT_EQ(noProduct.err, "wxguide assemble: no product given\nTry 'wxguide --help'.\n");

    const Answer missing = answer({"assemble", "no-such-product.txt"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "wxguide assemble: no-such-product.txt does not exist; nothing was written.\n");
}

namespace {

// Sets a variable of the environment for one case; "NAME=" leaves it set and empty where
// the system keeps empty values. Ends with the variable empty, as good as unset here.
struct ScopedVariable {
    explicit ScopedVariable(const char* setting)
        : name(setting, std::string_view(setting).find('=') + 1) {
        std::snprintf(text.data(), text.size(), "%s", setting);
        putenv(text.data());
    }
    ~ScopedVariable() {
        std::snprintf(text.data(), text.size(), "%s", name.c_str());
        putenv(text.data());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

    std::string name;                           // with its "="
    inline static std::array<char, 64> text{};  // putenv keeps the text itself
};

}  // namespace

TEST(CommandLine, OnlyAValueInTheEnvironmentAsksForSomething) {
    {
        // Exported but empty: no set, so the menu runs with the four fixed stations.
        const ScopedVariable empty("WXGUIDE_STATIONS=");
        const CommandLineAnswer menu = answerCommandLine({}, std::cout, std::cerr);
        EXPECT_FALSE(menu.status.has_value());
        EXPECT_EQ(menu.menuSet.ids, fixedStationSet().ids);
    }
    struct Case {
        const char* setting;
        bool plot;
        bool csv;
    };
    const Case cases[] = {
        {"WXGUIDE_PLOT=1", true, false}, {"WXGUIDE_PLOT=0", false, false},
        {"WXGUIDE_PLOT=", false, false}, {"WXGUIDE_PLOT=yes", false, false},
        {"WXGUIDE_CSV=1", false, true},  {"WXGUIDE_CSV=0", false, false},
    };
    for (const Case& c : cases) {
        const ScopedVariable variable(c.setting);
        const CommandLineAnswer menu = answerCommandLine({}, std::cout, std::cerr);
        EXPECT_EQ(menu.sideFiles.plot, c.plot) << c.setting;
        EXPECT_EQ(menu.sideFiles.csv, c.csv) << c.setting;
    }
}
