#include "app/fetch_options.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <iterator>
#include <optional>
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

constexpr std::string_view valueOptions[] = {"--date",  "--run",   "--output", "--station",
                                             "--point", "--hours", "--step",   "--folder"};

// A whole number of 0 to 384, the hours GFS files are made for; nothing otherwise.
std::optional<int> forecastHour(std::string_view text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const int hour = std::stoi(std::string(text));
    return hour <= 384 ? std::optional<int>(hour) : std::nullopt;
}

// Reads the value of an option only `grib` takes; false with the fault.
bool readGribValue(std::string_view name, const std::string& value, FetchRequest& request,
                   std::string& fault) {
    if (name == "--station") {
        if (!request.station.empty() || !isStationId(value)) {
            fault = "--station takes one four-letter id such as KDSM";
            return false;
        }
        request.station = upperCase(value);
    } else if (name == "--point") {
        if (request.point || value.empty()) {
            fault = "--point takes one place written as 41.53,-93.65";
            return false;
        }
        request.point = value;
    } else if (name == "--hours") {
        const std::size_t dash = value.find('-');
        const auto first = forecastHour(std::string_view(value).substr(0, dash));
        const auto last = dash == std::string::npos
                              ? std::nullopt
                              : forecastHour(std::string_view(value).substr(dash + 1));
        if (request.firstHour || !first || !last || *first > *last) {
            fault = "--hours takes the first and last forecast hours, 0 to 384, as 3-87";
            return false;
        }
        request.firstHour = first;
        request.lastHour = last;
    } else if (name == "--step") {
        const auto step = forecastHour(value);
        if (request.step || !step || *step == 0) {
            fault = "--step takes the hours between files, 1 to 384";
            return false;
        }
        request.step = step;
    } else {
        if (request.folder || value.empty()) {
            fault = "--folder takes one folder name";
            return false;
        }
        request.folder = value;
    }
    return true;
}

// Reads the value of --date, --run, --output or a grib option; false with the fault.
bool readValue(std::string_view name, const std::string& value, FetchRequest& request,
               std::string& fault) {
    if (name != "--date" && name != "--run" && name != "--output") {
        return readGribValue(name, value, request, fault);
    }
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

// The first option given that only grib takes, or empty.
std::string_view gribOnlyOption(const FetchRequest& request) {
    if (!request.station.empty())
        return "--station";
    if (request.point)
        return "--point";
    if (request.firstHour)
        return "--hours";
    if (request.step)
        return "--step";
    return request.folder ? "--folder" : "";
}

bool readGribWords(const std::vector<std::string>& words, FetchRequest& request,
                   std::string& fault) {
    request.what = FetchRequest::What::grib;
    if (words.size() > 1) {
        fault = "grib takes no other word: " + words[1] + " (the place is --station or --point)";
        return false;
    }
    if (request.station.empty() == !request.point) {
        fault = "grib takes one place: --station ID or --point LAT,LON";
        return false;
    }
    if (request.date || request.output) {
        fault = std::string(request.date ? "--date" : "--output") +
                " is not for grib; it takes --run and --folder";
        return false;
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
        const bool takesValue = std::find(std::begin(valueOptions), std::end(valueOptions),
                                          option.name) != std::end(valueOptions);
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
    if (words.empty() || (words[0] != "bulletins" && words[0] != "profile" && words[0] != "grib")) {
        fault = words.empty()
                    ? "fetch what? bulletins, profile or grib"
                    : "unknown product to fetch: " + words[0] + " (bulletins, profile or grib)";
        return false;
    }
    if (words[0] == "grib") {
        return readGribWords(words, request, fault);
    }
    if (const std::string_view option = gribOnlyOption(request); !option.empty()) {
        fault = std::string(option) + " is for grib";
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
