#include "app/today_options.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "app/command_table.h"
#include "app/eta_ratio.h"
#include "stations/station_table.h"

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
