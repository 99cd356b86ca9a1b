#include "app/session_options.h"

#include <cstdlib>
#include <vector>

#include "io/option_word.h"
#include "stations/set_options.h"

namespace {

int refuse(std::ostream& err, const std::string& fault) {
    return writeUsageError(err, "", fault);
}

bool readCount(std::string_view text, std::size_t& count) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + static_cast<int>(maxSetStations)) {
        return false;
    }
    count = static_cast<std::size_t>(text[0] - '0');
    return true;
}

bool typedWeights(const std::optional<std::string>& stations) {
    return stations && stations->find('=') != std::string::npos;
}

// A fault in a value from the environment names its variable, not the option.
std::string fromVariable(std::string fault, std::string_view option, std::string_view variable,
                         bool fromEnvironment) {
    if (fromEnvironment && fault.starts_with(option)) {
        fault.replace(0, option.size(), variable);
    }
    return fault;
}

}  // namespace

SetEnvironment setEnvironment() {
    SetEnvironment environment;
    const auto take = [](const char* name, std::optional<std::string>& value) {
        if (const char* text = std::getenv(name); text != nullptr && *text != '\0') {
            value = text;
        }
    };
    take("WXGUIDE_STATIONS", environment.stations);
    take("WXGUIDE_CITY", environment.city);
    return environment;
}

bool startsStationSession(std::string_view first) {
    const std::string_view name = splitOptionWord(first).name;
    return name == "--stations" || name == "--city" || first == "stations";
}

bool readSessionWords(std::span<const char* const> arguments, SessionRequest& request,
                      std::string& fault) {
    std::size_t i = 0;
    for (; i < arguments.size(); ++i) {
        const OptionWord option = splitOptionWord(arguments[i]);
        const std::string name(option.name);
        std::optional<std::string>* value = name == "--stations" ? &request.stations
                                            : name == "--city"   ? &request.city
                                                                 : nullptr;
        if (value == nullptr) {
            break;
        }
        if (value->has_value()) {
            fault = name + " is given twice";
            return false;
        }
        if (!option.value && i + 1 == arguments.size()) {
            fault = name + " needs a value";
            return false;
        }
        *value = option.value ? std::string(*option.value) : std::string(arguments[++i]);
    }
    // No command: the set is the menu's.
    if (i == arguments.size()) {
        return true;
    }
    request.command = arguments[i];
    request.commandArguments = arguments.subspan(i + 1);
    if (request.command == "assemble" || request.command == "run" || request.command == "fetch") {
        return true;
    }
    if (request.command != "stations") {
        const std::string misplaced = misplacedOption(splitOptionWord(request.command).name);
        fault = !misplaced.empty()                 ? misplaced
                : request.command.starts_with("-") ? "unknown option: " + request.command
                                                   : "unknown command: " + request.command;
        return false;
    }
    const std::span<const char* const> rest = request.commandArguments;
    if (rest.empty()) {
        return true;
    }
    const OptionWord count = splitOptionWord(rest[0]);
    const std::size_t words = count.value ? 1 : 2;
    if (count.name != "--count" || rest.size() > words) {
        const std::string misplaced = misplacedOption(splitOptionWord(rest[0]).name);
        fault = misplaced.empty() || count.name == "--count" ? "stations takes only --count N"
                                                             : misplaced;
        return false;
    }
    const std::string_view countText =
        count.value ? *count.value : (rest.size() == 2 ? std::string_view(rest[1]) : "");
    if ((!count.value && rest.size() == 1) || !readCount(countText, request.count)) {
        fault = "--count takes a number from 1 to " + std::to_string(maxSetStations);
        return false;
    }
    if (request.stations || !request.city) {
        fault = "--count goes with --city alone: it counts the nearest stations";
        return false;
    }
    request.countGiven = true;
    return true;
}

void takeEnvironment(SessionRequest& request, const SetEnvironment& environment) {
    // --count asks for the nearest stations, not the kept ones.
    if (!request.stations && environment.stations && !request.countGiven &&
        !(request.city && typedWeights(environment.stations))) {
        request.stations = environment.stations;
        request.stationsFromEnvironment = true;
    }
    // A city alone only asks for the nearest stations.
    const bool cityWanted =
        request.stations ? !typedWeights(request.stations) : request.command == "stations";
    if (!request.city && environment.city && cityWanted) {
        request.city = environment.city;
        request.cityFromEnvironment = true;
    }
}

std::optional<int> settleStationSet(const SessionRequest& request, const StationTableSearch& search,
                                    ListedSet& listed, std::ostream& err) {
    std::string fault;
    StationRequest stations;
    if (request.stations && !readStationRequest(*request.stations, stations, fault)) {
        return refuse(err, fromVariable(fault, "--stations", "WXGUIDE_STATIONS",
                                        request.stationsFromEnvironment));
    }
    CityPoint city;
    if (request.city && !readCityPoint(*request.city, city, fault)) {
        return refuse(err,
                      fromVariable(fault, "--city", "WXGUIDE_CITY", request.cityFromEnvironment));
    }
    if (request.stations && !stations.weights.empty() && request.city) {
        return refuse(err,
                      "--stations: weights cannot be mixed with --city, which weighs the "
                      "stations by distance");
    }
    if (request.stations && stations.weights.empty() && !request.city) {
        return refuse(
            err, fromVariable("--stations: give every station a weight (ID=WEIGHT), "
                              "or the ids alone and --city LAT,LON",
                              "--stations", "WXGUIDE_STATIONS", request.stationsFromEnvironment));
    }
    if (request.city && !request.stations && request.command != "stations") {
        return refuse(err,
                      "--city needs --stations ID,...; 'wxguide --city LAT,LON stations' "
                      "shows the nearest stations");
    }

    listed = ListedSet{fixedStationSet(), {}, {}};
    if (request.stations && !request.city) {
        listed.set = {stations.ids, stations.weights};
        return std::nullopt;
    }
    if (!request.city) {
        return std::nullopt;
    }
    std::vector<StationPlace> table;
    if (!loadTable(search, table, err)) {
        return 1;
    }
    if (!request.stations) {
        listed = nearestListedSet(table, city, request.count);
    } else if (!weighListedSet(stations.ids, city, table, listed, fault)) {
        return refuse(err, fault);
    }
    return std::nullopt;
}

void writeSetSources(const SessionRequest& request, const SetEnvironment& environment,
                     std::ostream& out) {
    if (!environment.stations && !environment.city) {
        return;
    }
    std::vector<std::string_view> used;
    if (request.stations) {
        used.push_back(request.stationsFromEnvironment ? "WXGUIDE_STATIONS" : "--stations");
    }
    if (request.city) {
        used.push_back(request.cityFromEnvironment ? "WXGUIDE_CITY" : "--city");
    }
    std::vector<std::string_view> unused;
    if (environment.stations && !request.stationsFromEnvironment) {
        unused.push_back("WXGUIDE_STATIONS");
    }
    if (environment.city && !request.cityFromEnvironment) {
        unused.push_back("WXGUIDE_CITY");
    }
    const auto joined = [](const std::vector<std::string_view>& words) {
        return std::string(words[0]) + (words.size() > 1 ? " and " + std::string(words[1]) : "");
    };
    out << (used.empty() ? "The set is the four fixed stations"
                         : "The set comes from " + joined(used));
    if (!unused.empty()) {
        out << "; " << joined(unused) << (unused.size() > 1 ? " are" : " is") << " not used";
    }
    out << ".\n";
}
