#include "app/command_table.h"

#include <array>

#include "app/assemble_options.h"
#include "app/extract_options.h"
#include "app/fetch_options.h"
#include "app/run_command.h"
#include "app/session_options.h"
#include "app/today_options.h"
#include "app/verify_options.h"
#include "assemble/assemble_command.h"
#include "extract/extract_command.h"
#include "fetch/fetch_command.h"
#include "io/option_word.h"
#include "stations/stations_command.h"
#include "today/today_command.h"
#include "verify/verify_command.h"

namespace {

// --plot and --csv are taken after the command too, where a forecaster adds them last.
constexpr std::array<CommandOption, 4> runOptions = {{
    {"--quiet", "-q", false},
    {"--ratio", "", true},
    {"--plot", "", false},
    {"--csv", "", false},
}};

constexpr std::array<CommandOption, 3> assembleOptions = {{
    {"--quiet", "-q", false},
    {"--date", "", true},
    {"--output", "", true},
}};

constexpr std::array<CommandOption, 6> extractOptions = {{
    {"--step", "", true},
    {"--columns", "", true},
    {"--severe", "", true},
    {"--run", "", true},
    {"--point", "", true},
    {"--station", "", true},
}};

constexpr std::array<CommandOption, 10> fetchOptions = {{
    {"--quiet", "-q", false},
    {"--offline", "", false},
    {"--date", "", true},
    {"--run", "", true},
    {"--output", "", true},
    {"--station", "", true},
    {"--point", "", true},
    {"--hours", "", true},
    {"--step", "", true},
    {"--folder", "", true},
}};

constexpr std::array<CommandOption, 1> stationsOptions = {{
    {"--count", "", true},
}};

constexpr std::array<CommandOption, 5> verifyOptions = {{
    {"--days", "", true},
    {"--end", "", true},
    {"--offline", "", false},
    {"--csv", "", true},
    {"--plot", "", true},
}};

constexpr std::array<CommandOption, 5> todayOptions = {{
    {"--ratio", "", true},
    {"--station", "", true},
    {"--at", "", true},
    {"--folder", "", true},
    {"--offline", "", false},
}};

constexpr std::array<CommandOption, 2> setOptions = {{
    {"--stations", "", true},
    {"--city", "", true},
}};

constexpr std::array<CommandOption, 2> sideFileOptions = {{
    {"--plot", "", false},
    {"--csv", "", false},
}};

int runRun(const CommandContext& context) {
    return runCommand(context.words, context.listed.set, context.out, context.err,
                      context.sideFiles);
}

int runAssembleCommand(const CommandContext& context) {
    AssembleRequest request;
    std::string fault;
    if (!readAssembleRequest(context.words, request, fault)) {
        return writeUsageError(context.err, "assemble", fault);
    }
    return runAssemble(request, context.out, context.err, context.listed.set);
}

int runExtractRow(const CommandContext& context) {
    return runExtractCommand(context.words, stationTableSearch(context.invokedAs), context.out,
                             context.err);
}

int runFetchRow(const CommandContext& context) {
    FetchRequest request;
    std::string fault;
    if (!readFetchRequest(context.words, request, fault)) {
        return writeUsageError(context.err, "fetch", fault);
    }
    return runFetch(request, stationTableSearch(context.invokedAs), context.listed.set, context.out,
                    context.err);
}

int runVerifyRow(const CommandContext& context) {
    VerifyRequest request;
    std::string fault;
    if (!readVerifyRequest(context.words, request, fault)) {
        return writeUsageError(context.err, "verify", fault);
    }
    return runVerify(request, stationTableSearch(context.invokedAs), context.listed.set,
                     context.out, context.err);
}

int runStations(const CommandContext& context) {
    writeSetSources(context.session, context.environment, context.out);
    return writeStationList(context.listed, context.out);
}

const std::array<CommandRow, 7> commands = {{
    {"run", runUsage, StationSetUse::set, runOptions, false, nullptr, runRun},
    {"assemble", assembleUsage, StationSetUse::set, assembleOptions, true, nullptr,
     runAssembleCommand},
    {"extract", extractUsage, StationSetUse::none, extractOptions, true, nullptr, runExtractRow},
    {"fetch", fetchUsage, StationSetUse::set, fetchOptions, false, nullptr, runFetchRow, false},
    {"stations", stationsUsage, StationSetUse::orNearest, stationsOptions, false, readStationsWords,
     runStations},
    {"verify", verifyUsage, StationSetUse::set, verifyOptions, false, nullptr, runVerifyRow, false},
    {"today", todayUsage, StationSetUse::set, todayOptions, false, nullptr, runTodayCommand, false},
}};

bool named(const CommandOption& option, std::string_view name) {
    return option.name == name || (!option.shortName.empty() && option.shortName == name);
}

bool takes(std::span<const CommandOption> options, std::string_view name) {
    for (const CommandOption& option : options) {
        if (named(option, name)) {
            return true;
        }
    }
    return false;
}

// "'run'", "'run' or 'assemble'", "'run', 'assemble' or 'fetch'".
std::string joinedCommands(std::span<const std::string_view> words) {
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i) {
        joined += i == 0 ? "" : i + 1 == words.size() ? " or " : ", ";
        joined += "'" + std::string(words[i]) + "'";
    }
    return joined;
}

}  // namespace

std::span<const CommandRow> commandTable() {
    return commands;
}

std::span<const CommandOption> stationSetOptions() {
    return setOptions;
}

std::span<const CommandOption> leadingOptions() {
    return sideFileOptions;
}

const CommandRow* findCommand(std::string_view word) {
    for (const CommandRow& row : commands) {
        if (row.word == word) {
            return &row;
        }
    }
    return nullptr;
}

const CommandOption* findOption(const CommandRow& row, std::string_view name) {
    for (const CommandOption& option : row.options) {
        if (named(option, name)) {
            return &option;
        }
    }
    return nullptr;
}

std::string misplacedOption(std::string_view name) {
    std::array<std::string_view, commands.size()> words{};
    std::size_t count = 0;
    if (takes(sideFileOptions, name)) {
        for (const CommandRow& row : commands) {
            if (takes(row.options, name)) {
                words.at(count++) = row.word;
            }
        }
        return std::string(name) + " belongs first of all, before the command" +
               (count == 0 ? "" : ", or after " + joinedCommands({words.data(), count}));
    }
    const bool setOption = takes(setOptions, name);
    for (const bool everyRow : {false, true}) {
        for (const CommandRow& row : commands) {
            const bool taken =
                setOption ? row.stationSet != StationSetUse::none : takes(row.options, name);
            if (taken && (everyRow || row.namedWhereOptionsBelong)) {
                words.at(count++) = row.word;
            }
        }
        if (count > 0) {
            break;
        }
    }
    if (count == 0) {
        return {};
    }
    if (!setOption) {
        return std::string(name) + " belongs after " + joinedCommands({words.data(), count});
    }
    std::string list;
    for (std::size_t i = 0; i < count; ++i) {
        list += (i == 0 ? "" : ", ") + std::string(words.at(i));
    }
    return std::string(name) + " belongs before the command (" + list + ")";
}

bool readCommandWords(const CommandRow& row, std::span<const char* const> words,
                      const std::function<bool(const CommandWord&, std::string&)>& take,
                      std::string& fault) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        if (optionsEnded || word == "-" || !word.starts_with("-")) {
            if (!take({nullptr, std::string(word)}, fault)) {
                return false;
            }
            continue;
        }
        if (word == "--" && row.dashesEndOptions) {
            optionsEnded = true;
            continue;
        }
        const OptionWord split = splitOptionWord(word);
        const CommandOption* option = findOption(row, split.name);
        const std::string name(option != nullptr ? option->name : split.name);
        if (option == nullptr) {
            const std::string misplaced = misplacedOption(name);
            fault = misplaced.empty() ? "unknown option: " + name : misplaced;
            return false;
        }
        if (!option->takesValue && split.value) {
            fault = name + " takes no value";
            return false;
        }
        if (option->takesValue && !split.value && i + 1 == words.size()) {
            fault = name + " needs a value";
            return false;
        }
        std::string value;
        if (option->takesValue) {
            value = split.value ? std::string(*split.value) : std::string(words[++i]);
        }
        if (!take({option, value}, fault)) {
            return false;
        }
    }
    return true;
}
