#include "app/fetch_options.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.h"
#include "assemble/calendar_date.h"
#include "fetch/fetch_command.h"
#include "io/option_word.h"
#include "stations/station_table.h"

namespace {

std::string upperCase(std::string_view word) {
    std::string upper(word);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// Reads the value of --date, --run or --output; false with the fault.
bool readValue(std::string_view name, const std::string& value, FetchRequest& request,
               std::string& fault) {
    if (name == "--date") {
        CalendarDate date;
        if (request.date || !readCalendarDate(value, date)) {
            fault = "--date takes one date written as 12/08/2026";
            return false;
        }
        request.date = date;
    } else if (name == "--run") {
        RunTime run;
        if (request.run || !readRunTime(value, run)) {
            fault = "--run takes one run written as 2026120812 (year, month, day, hour UTC)";
            return false;
        }
        request.run = run;
    } else {
        if (request.output || value.empty()) {
            fault = "--output takes one file name";
            return false;
        }
        request.output = value;
    }
    return true;
}

}  // namespace

bool readFetchRequest(std::span<const char* const> arguments, FetchRequest& request,
                      std::string& fault) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string word = arguments[i];
        const OptionWord option = splitOptionWord(word);
        const bool takesValue =
            option.name == "--date" || option.name == "--run" || option.name == "--output";
        if (!word.starts_with("-") || word == "-") {
            words.push_back(word);
        } else if ((option.name == "--quiet" || option.name == "-q") && !option.value) {
            request.quiet = true;
        } else if (option.name == "--offline" && !option.value) {
            request.offline = true;
        } else if (!takesValue) {
            const std::string misplaced = option.name == "--quiet" || option.name == "--offline"
                                              ? std::string(option.name) + " takes no value"
                                              : misplacedOption(option.name);
            fault = misplaced.empty() ? "unknown option: " + std::string(option.name) : misplaced;
            return false;
        } else if (!option.value && i + 1 == arguments.size()) {
            fault = std::string(option.name) + " needs a value";
            return false;
        } else if (!readValue(option.name,
                              option.value ? std::string(*option.value) : arguments[++i], request,
                              fault)) {
            return false;
        }
    }
    if (words.empty() || (words[0] != "bulletins" && words[0] != "profile")) {
        fault = words.empty() ? "fetch what? bulletins or profile"
                              : "unknown product to fetch: " + words[0] + " (bulletins or profile)";
        return false;
    }
    if (words[0] == "bulletins") {
        request.what = FetchRequest::What::bulletins;
        if (words.size() > 1) {
            fault = "bulletins takes no other word: " + words[1];
            return false;
        }
        if (request.run) {
            fault = "--run is for profile; bulletins take --date";
            return false;
        }
        return true;
    }
    request.what = FetchRequest::What::profile;
    if (words.size() != 3) {
        fault = "profile takes a MODEL (gfs, rap or hrrr) and a STATION (KDSM)";
        return false;
    }
    if (words[1] != "gfs" && words[1] != "rap" && words[1] != "hrrr") {
        fault = "the model is gfs, rap or hrrr, not " + words[1];
        return false;
    }
    if (!isStationId(words[2])) {
        fault = "the station is a four-letter id such as KDSM, not " + words[2];
        return false;
    }
    if (request.date) {
        fault = "--date is for bulletins; a profile takes --run";
        return false;
    }
    request.model = words[1];
    request.station = upperCase(words[2]);
    return true;
}
