#include "io/option_word.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(OptionWord, ANameAndItsValueMayBeOneWord) {
    struct Case {
        const char* word;
        std::string_view name;
        std::optional<std::string_view> value;
    };
    const Case cases[] = {
        {"--ratio=0.6", "--ratio", "0.6"},
        {"--output=a=b.txt", "--output", "a=b.txt"},  // split at the first "="
        {"--date=", "--date", ""},
        {"--ratio", "--ratio", std::nullopt},
        {"-q", "-q", std::nullopt},
        {"-x=1", "-x=1", std::nullopt},  // a short option is never split
        {"KBKX=0.5", "KBKX=0.5", std::nullopt},
    };
    for (const Case& c : cases) {
        const OptionWord option = splitOptionWord(c.word);
        EXPECT_EQ(option.name, c.name) << c.word;
        EXPECT_EQ(option.value, c.value) << c.word;
    }
}

TEST(OptionWord, OneNumberSyntaxForEveryOption) {
    struct Case {
        const char* word;
        bool number;
        double value;
    };
    const Case cases[] = {
        {"0.6", true, 0.6},       {".5", true, 0.5}, {"5e-1", true, 0.5},  {"+1", true, 1.0},
        {"-97.22", true, -97.22}, {"7.", true, 7.0}, {"1E2", true, 100.0}, {"", false, 0},
        {"0.6x", false, 0},       {"1e", false, 0},  {"nan", false, 0},    {"inf", false, 0},
        {"0x1", false, 0},        {" 1", false, 0},  {"1 ", false, 0},     {"1e999", false, 0},
        {"--1", false, 0},
    };
    for (const Case& c : cases) {
        double value = 0;
        EXPECT_EQ(readTypedNumber(c.word, value), c.number) << c.word;
        if (c.number) {
            EXPECT_EQ(value, c.value) << c.word;
        }
    }
}

TEST(OptionWord, AQuietStreamShowsNoStatusLinesButItsFaults) {
    std::ostringstream loud;
    statusLines(loud) << "You have a valid file.\n";
    loud << "a fault\n";
    EXPECT_EQ(loud.str(), "You have a valid file.\na fault\n");

    std::ostringstream quiet;
    beQuiet(quiet);
    statusLines(quiet) << "You have a valid file.\n";
    quiet << "a fault\n";
    EXPECT_EQ(quiet.str(), "a fault\n");
    EXPECT_TRUE(quiet.good());
}
