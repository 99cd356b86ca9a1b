#include "app/session_options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "io/option_word.h"

namespace {

struct Session {
    std::optional<int> status;
    std::string err;
    StationSet set;
};

Session session(std::vector<const char*> arguments, const SetEnvironment& environment) {
    std::ostringstream out;
    std::ostringstream err;
    Session answer;
    SessionRequest request;
    std::string fault;
    if (!readSessionWords(arguments, request, fault)) {
        answer.status = writeUsageError(err, "", fault);
    } else {
        takeEnvironment(request, environment);
        ListedSet listed;
        answer.status = settleStationSet(request, StationTableSearch{}, listed, err);
        answer.set = listed.set;
    }
    answer.err = err.str();
    return answer;
}

}  // namespace

TEST(StationSession, TheEnvironmentStandsForOptionsNotGiven) {
    struct Case {
        std::vector<const char*> arguments;
        SetEnvironment environment;
        std::vector<std::string> ids;
        std::vector<double> weights;
    };
    const Case cases[] = {
        // The menu and run take the kept set.
        {{}, {"KSUX=0.7,KOMA=0.3", std::nullopt}, {"KSUX", "KOMA"}, {0.7, 0.3}},
        {{"run", "1", "pair.txt", "--ratio", "0.5"},
         {"KSUX=0.7,KOMA=0.3", std::nullopt},
         {"KSUX", "KOMA"},
         {0.7, 0.3}},
        // --stations wins; typed weights take no city, so WXGUIDE_CITY stays unused.
        {{"--stations", "KFSD=1"}, {"KSUX=0.7,KOMA=0.3", "42.5,-96.4"}, {"KFSD"}, {1.0}},
        {{}, {"KSUX=0.7,KOMA=0.3", "42.5,-96.4"}, {"KSUX", "KOMA"}, {0.7, 0.3}},
        // A city alone asks only for the nearest stations: the menu keeps the four.
        {{}, {std::nullopt, "42.5,-96.4"}, {"KBKX", "KHON", "KMHE", "KFSD"}, {}},
    };
    for (const Case& c : cases) {
        const Session answer = session(c.arguments, c.environment);
        SCOPED_TRACE(c.ids.front());
        EXPECT_FALSE(answer.status.has_value()) << answer.err;
        EXPECT_EQ(answer.set.ids, c.ids);
        if (!c.weights.empty()) {
            EXPECT_EQ(answer.set.weights, c.weights);
        }
    }
}

TEST(StationSession, AFaultInTheEnvironmentNamesItsVariable) {
    struct Case {
        SetEnvironment environment;
        std::string fault;
    };
    const Case cases[] = {
        {{"KSU=1", std::nullopt},
         "wxguide: WXGUIDE_STATIONS: \"KSU\" is not a station id (four letters or digits)"},
        {{"KSUX,KOMA", std::nullopt},
         "wxguide: WXGUIDE_STATIONS: give every station a weight (ID=WEIGHT), or the ids alone "
         "and --city LAT,LON"},
        {{"KSUX,KOMA", "91,-96.4"},
         "wxguide: WXGUIDE_CITY: the latitude 91 lies outside -90 to 90"},
    };
    for (const Case& c : cases) {
        const Session answer = session({"run", "1", "pair.txt", "--ratio", "0.5"}, c.environment);
        EXPECT_EQ(answer.status, 2);
        EXPECT_EQ(answer.err, c.fault + "\nTry 'wxguide --help'.\n");
    }
    // Given as an option, the same fault names the option.
    const Session typed = session({"--stations", "KSU=1"}, {});
    EXPECT_EQ(typed.err,
              "wxguide: --stations: \"KSU\" is not a station id (four letters or "
              "digits)\nTry 'wxguide --help'.\n");
}

TEST(StationSession, TheWordsOfTheSetAndOfStationsHaveTheirFaults) {
    struct Case {
        std::vector<const char*> arguments;
        std::string fault;
    };
    const Case cases[] = {
        {{"--city", "1,2", "--city", "1,2", "stations"}, "--city is given twice"},
        {{"--stations"}, "--stations needs a value"},
        {{"--city", "44,-97", "stations", "--count"}, "--count takes a number from 1 to 8"},
        {{"--city", "44,-97", "stations", "--count", "0"}, "--count takes a number from 1 to 8"},
        {{"--city", "44,-97", "stations", "--count=3", "x"}, "stations takes only --count N"},
        {{"stations", "--ratio", "1"}, "--ratio belongs after 'run'"},
        {{"stations", "--count", "3"},
         "--count goes with --city alone: it counts the nearest stations"},
        {{"--stations", "KFSD", "--city", "1,2", "stations", "--count", "3"},
         "--count goes with --city alone: it counts the nearest stations"},
        {{"--stations", "KFSD=1", "extract", "x.buf"},
         "--stations belongs before the command (run, assemble, stations)"},
        {{"--city", "1,2", "--stations", "KFSD", "extract", "x.buf"},
         "--city belongs before the command (run, assemble, stations)"},
        {{"--city", "44,-97", "run", "1", "x"},
         "--city needs --stations ID,...; 'wxguide --city LAT,LON stations' shows the nearest "
         "stations"},
        {{"--stations", "KFSD=1", "--city", "44,-97"},
         "--stations: weights cannot be mixed with --city, which weighs the stations by "
         "distance"},
    };
    for (const Case& c : cases) {
        const Session answer = session(c.arguments, {});
        EXPECT_EQ(answer.status, 2) << c.fault;
        EXPECT_EQ(answer.err, "wxguide: " + c.fault + "\nTry 'wxguide --help'.\n");
    }
    // The edges of --count are taken.
    for (const char* count : {"1", "8"}) {
        SessionRequest request;
        std::string fault;
        const std::vector<const char*> words = {"--city", "44,-97", "stations", "--count", count};
        ASSERT_TRUE(readSessionWords(words, request, fault)) << count << ": " << fault;
        EXPECT_EQ(request.count, static_cast<std::size_t>(count[0] - '0'));
        EXPECT_TRUE(request.countGiven);
    }
}
