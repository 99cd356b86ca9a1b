#include "app/command_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/session_options.h"
#include "stations/stations_command.h"

namespace {

// The words a command's reader is handed, as "NAME" for an option and its value after a
// blank, or the operand alone.
std::vector<std::string> readWords(const CommandRow& row, std::vector<const char*> words,
                                   std::string& fault) {
    std::vector<std::string> read;
    const auto take = [&](const CommandWord& word, std::string&) {
        read.push_back(word.option == nullptr ? word.text
                                              : std::string(word.option->name) + " " + word.text);
        return true;
    };
    fault.clear();
    if (!readCommandWords(row, words, take, fault)) {
        read.clear();
    }
    return read;
}

// The options a branch of the completion offers: the --words of its quoted word lists.
std::set<std::string> offeredOptions(const std::string& branch) {
    std::set<std::string> offered;
    std::size_t open = 0;
    while ((open = branch.find('\'', open)) != std::string::npos) {
        const std::size_t close = branch.find('\'', open + 1);
        std::istringstream words(branch.substr(open + 1, close - open - 1));
        for (std::string word; words >> word;) {
            if (word.starts_with("-")) {
                offered.insert(word);
            }
        }
        open = close + 1;
    }
    return offered;
}

}  // namespace

TEST(CommandTable, EveryRowIsFoundByItsWordAndHasItsUsage) {
    std::set<std::string_view> words;
    for (const CommandRow& row : commandTable()) {
        SCOPED_TRACE(std::string(row.word));
        EXPECT_TRUE(words.insert(row.word).second) << "a word named twice";
        EXPECT_EQ(findCommand(row.word), &row);
        EXPECT_NE(row.usage.find(std::string(" ") + std::string(row.word)), std::string::npos);
        EXPECT_NE(row.run, nullptr);
    }
    EXPECT_EQ(findCommand("runs"), nullptr);
    EXPECT_EQ(findCommand(""), nullptr);
    EXPECT_EQ(findCommand("--stations"), nullptr);
}

TEST(CommandTable, AMisplacedOptionIsToldWhereItBelongs) {
    struct Case {
        const char* name;
        std::string fault;
    };
    const Case cases[] = {
        {"--ratio", "--ratio belongs after 'run'"},
        {"--quiet", "--quiet belongs after 'run' or 'assemble'"},
        {"-q", "-q belongs after 'run' or 'assemble'"},
        {"--date", "--date belongs after 'assemble'"},
        {"--output", "--output belongs after 'assemble'"},
        {"--step", "--step belongs after 'extract'"},
        {"--point", "--point belongs after 'extract'"},
        {"--station", "--station belongs after 'extract'"},
        {"--count", "--count belongs after 'stations'"},
        {"--stations", "--stations belongs before the command (run, assemble, stations)"},
        {"--city", "--city belongs before the command (run, assemble, stations)"},
        {"--plot", "--plot belongs first of all, before the command, or after 'run' or 'verify'"},
        {"--csv", "--csv belongs first of all, before the command, or after 'run' or 'verify'"},
        {"--bogus", ""},
        {"-", ""},
        {"--", ""},
        {"run", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(misplacedOption(c.name), c.fault) << c.name;
    }
}

TEST(CommandTable, EveryOptionOfEveryCommandTakesItsValueInOneWordOrTwo) {
    for (const CommandRow& row : commandTable()) {
        for (const CommandOption& option : row.options) {
            SCOPED_TRACE(std::string(row.word) + " " + std::string(option.name));
            const std::string name(option.name);
            const std::string joined = name + "=a=b";
            std::string fault;
            if (!option.takesValue) {
                EXPECT_EQ(readWords(row, {name.c_str(), "x"}, fault),
                          (std::vector<std::string>{name + " ", "x"}));
                EXPECT_TRUE(readWords(row, {joined.c_str(), "x"}, fault).empty());
                EXPECT_EQ(fault, name + " takes no value");
                continue;
            }
            const std::vector<std::string> wanted = {name + " a=b", "x"};
            EXPECT_EQ(readWords(row, {name.c_str(), "a=b", "x"}, fault), wanted) << fault;
            EXPECT_EQ(readWords(row, {joined.c_str(), "x"}, fault), wanted) << fault;
            // A value that looks like an option is still the value.
            EXPECT_EQ(readWords(row, {name.c_str(), "-1"}, fault),
                      (std::vector<std::string>{name + " -1"}));
            const std::string empty = name + "=";
            EXPECT_EQ(readWords(row, {empty.c_str()}, fault),
                      (std::vector<std::string>{name + " "}));
            EXPECT_TRUE(readWords(row, {"x", name.c_str()}, fault).empty());
            EXPECT_EQ(fault, name + " needs a value");
        }
    }
}

TEST(CommandTable, WordsOutsideACommandsOptionsAreOperandsOrFaults) {
    const CommandRow& run = *findCommand("run");
    const CommandRow& assemble = *findCommand("assemble");
    std::string fault;
    // A short name stands for its option; "-" alone is an operand.
    EXPECT_EQ(readWords(run, {"-q", "-", "2"}, fault),
              (std::vector<std::string>{"--quiet ", "-", "2"}));
    // "--" ends the options only where the command says so.
    EXPECT_EQ(readWords(assemble, {"--", "--date", "-q"}, fault),
              (std::vector<std::string>{"--date", "-q"}));
    EXPECT_TRUE(readWords(run, {"--", "2"}, fault).empty());
    EXPECT_EQ(fault, "unknown option: --");
    EXPECT_TRUE(readWords(run, {"2", "--verbose=1"}, fault).empty());
    EXPECT_EQ(fault, "unknown option: --verbose");
    EXPECT_TRUE(readWords(assemble, {"x", "--count=3"}, fault).empty());
    EXPECT_EQ(fault, "--count belongs after 'stations'");
    EXPECT_TRUE(readWords(run, {"-q=1"}, fault).empty());
    EXPECT_EQ(fault, "unknown option: -q=1");

    // The words are handed on in order, and the reader's own fault ends the reading.
    std::vector<std::string> seen;
    const auto refuseSecond = [&](const CommandWord& word, std::string& wordFault) {
        seen.push_back(word.text);
        if (seen.size() == 2) {
            wordFault = "second refused";
            return false;
        }
        return true;
    };
    const std::vector<const char*> words = {"a", "--output=o", "--bogus", "b"};
    EXPECT_FALSE(readCommandWords(assemble, words, refuseSecond, fault));
    EXPECT_EQ(fault, "second refused");
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "o"}));
}

// The completion is written by hand (it knows what the table does not: that only option 1
// takes --ratio, which values are typed rather than completed); this holds it to the table.
TEST(CommandTable, TheBashCompletionOffersEveryCommandAndItsOptionsAndNoOthers) {
    std::ifstream file(WXGUIDE_COMPLETION_FILE);
    ASSERT_TRUE(file) << WXGUIDE_COMPLETION_FILE;
    std::stringstream text;
    text << file.rdbuf();
    const std::string completion = text.str();
    const std::string firstWords = completion.substr(0, completion.find("local command="));
    for (const CommandRow& row : commandTable()) {
        SCOPED_TRACE(std::string(row.word));
        const std::string word(row.word);
        EXPECT_NE(firstWords.find(" " + word), std::string::npos) << "not offered first";
        const std::size_t start = completion.find("$command == " + word + " ]]");
        ASSERT_NE(start, std::string::npos) << "no branch";
        const std::size_t end = completion.find("$command == ", start + 1);
        const std::set<std::string> offered = offeredOptions(completion.substr(start, end - start));
        std::set<std::string> taken;
        for (const CommandOption& option : row.options) {
            taken.insert(std::string(option.name));
        }
        EXPECT_EQ(offered, taken);
    }
    for (const auto& options : {stationSetOptions(), leadingOptions()}) {
        for (const CommandOption& option : options) {
            EXPECT_NE(firstWords.find(std::string(option.name) + " "), std::string::npos)
                << option.name;
        }
    }
}

TEST(CommandTable, TheStationsRowSaysWhereTheSetComesFromThenListsIt) {
    const std::vector<StationPlace> places = {{"KFSD", "Sioux Falls", 43.58, -96.74},
                                              {"KBKX", "Brookings", 44.3, -96.8}};
    const ListedSet nearest = nearestListedSet(places, {44.03, -97.22}, 2);
    const ListedSet typed = {{{"KFSD", "KHON"}, {0.75, 0.25}}, {}, {}};
    const ListedSet fixed = {fixedStationSet(), {}, {}};
    const std::string fixedList =
        "KBKX  0.353460408\nKHON  0.1793834\nKMHE  0.215645378\nKFSD  0.25151496\n";
    struct Case {
        const char* name;
        SetEnvironment environment;
        SessionRequest session;
        const ListedSet& listed;
        std::string out;
    };
    SessionRequest fromEnvironment;
    fromEnvironment.stations = "KFSD=0.75,KHON=0.25";
    fromEnvironment.stationsFromEnvironment = true;
    SessionRequest typedStations;
    typedStations.stations = "KFSD=0.75,KHON=0.25";
    SessionRequest cityFromEnvironment;
    cityFromEnvironment.city = "44.03,-97.22";
    cityFromEnvironment.cityFromEnvironment = true;
    const Case cases[] = {
        {"no environment", {}, {}, fixed, fixedList},
        {"typed, no environment", {}, typedStations, typed, "KFSD  0.75\nKHON  0.25\n"},
        {"kept stations",
         {"KFSD=0.75,KHON=0.25", std::nullopt},
         fromEnvironment,
         typed,
         "The set comes from WXGUIDE_STATIONS.\nKFSD  0.75\nKHON  0.25\n"},
        {"typed over a kept city",
         {std::nullopt, "1,2"},
         typedStations,
         typed,
         "The set comes from --stations; WXGUIDE_CITY is not used.\nKFSD  0.75\nKHON  0.25\n"},
        {"neither kept one used",
         {"KFSD", "1,2"},
         {},
         fixed,
         "The set is the four fixed stations; WXGUIDE_STATIONS and WXGUIDE_CITY are not used.\n" +
             fixedList},
        {"kept city",
         {std::nullopt, "44.03,-97.22"},
         cityFromEnvironment,
         nearest,
         "The set comes from WXGUIDE_CITY.\n"
         "KBKX  0.5839789       45.0 km  Brookings\n"
         "KFSD  0.4160211       63.1 km  Sioux Falls\n"},
    };
    const CommandRow* row = findCommand("stations");
    ASSERT_NE(row, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SideFiles sideFiles;
        std::ostringstream out;
        std::ostringstream err;
        const CommandContext context{{},        c.session, c.environment, c.listed,
                                     sideFiles, "wxguide", out,           err};
        EXPECT_EQ(row->run(context), 0);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str(), "");
    }
}
