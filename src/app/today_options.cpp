#include "app/today_options.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.h"
#include "app/eta_ratio.h"
#include "export/side_files.h"
#include "fetch/run_time.h"
#include "io/option_word.h"
#include "net/http.h"
#include "stations/station_table.h"
#include "stations/stations_command.h"
#include "today/today_command.h"

namespace {

bool readTodayValue(std::string_view name, const std::string& value, TodayRequest& request,
                    std::optional<std::string>& ratio, std::string& fault) {
    if (name == "--ratio") {
        if (ratio) {
            fault = "--ratio is given twice";
            return false;
        }
        ratio = value;
    } else if (name == "--station") {
        if (!request.station.empty() || !isStationId(value)) {
            fault = "--station takes one four-letter id such as KDSM";
            return false;
        }
        request.station = value;
        std::transform(request.station.begin(), request.station.end(), request.station.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    } else if (name == "--at") {
        RunTime at;
        if (request.at || !readRunTime(value, at)) {
            fault = "--at takes one time written as 2026120815 (year, month, day, hour UTC)";
            return false;
        }
        request.at = at;
    } else {
        if (request.folder || value.empty()) {
            fault = "--folder takes one folder name";
            return false;
        }
        request.folder = value;
    }
    return true;
}

}  // namespace

bool readTodayRequest(std::span<const char* const> arguments, const char* ratioVariable,
                      TodayRequest& request, std::string& fault) {
    std::optional<std::string> ratio;
    const auto take = [&](const CommandWord& word, std::string& wordFault) {
        if (word.option == nullptr) {
            wordFault = "takes no file or other word: " + word.text;
            return false;
        }
        if (word.option->name == "--offline") {
            request.offline = true;
            return true;
        }
        return readTodayValue(word.option->name, word.text, request, ratio, wordFault);
    };
    if (!readCommandWords(*findCommand("today"), arguments, take, fault)) {
        return false;
    }
    const bool fromEnvironment = !ratio && ratioVariable != nullptr;
    if (fromEnvironment) {
        ratio = ratioVariable;
    }
    if (!ratio) {
        fault =
            "needs option 1's ETA weight, from 0 to 1: give --ratio R (such as --ratio 0.6), "
            "or set WXGUIDE_RATIO=R in the environment";
        return false;
    }
    double etaRatio = 0;
    if (readEtaRatio(*ratio, etaRatio) != RatioWord::ratio) {
        fault = std::string(fromEnvironment ? "WXGUIDE_RATIO" : "--ratio") +
                " takes a number from 0 to 1 (such as 0.6), not " + *ratio;
        return false;
    }
    request.ratio = *ratio;
    return true;
}

// Each step of the day is the command a forecaster would type, run as the command line
// runs it, with the day's set and every report's picture and spreadsheets.
int runTodayCommand(const CommandContext& context) {
    TodayRequest request;
    std::string fault;
    if (!readTodayRequest(context.words, std::getenv("WXGUIDE_RATIO"), request, fault)) {
        return writeUsageError(context.err, "today", fault);
    }
    const SideFiles sideFiles{true, true};
    const CommandRunner runStep = [&](std::span<const std::string> words, std::ostream& out,
                                      std::ostream& err) {
        const CommandRow* row = findCommand(words.front());
        std::vector<const char*> rest;
        for (const std::string& word : words.subspan(1)) {
            rest.push_back(word.c_str());
        }
        const CommandContext step{rest,
                                  context.session,
                                  context.environment,
                                  context.listed,
                                  sideFiles,
                                  context.invokedAs,
                                  out,
                                  err};
        return row == nullptr ? 2 : row->run(step);
    };
    return runToday(request, context.listed.set, runStep, context.out,
                    standardErrorIsTerminal() ? &context.err : nullptr);
}
