#include "stations/stations_command.h"

#include <algorithm>
#include <cstdlib>
#include <iomanip>
#include <optional>
#include <sstream>
#include <vector>

#include "arith/great_circle.h"
#include "arith/station_weights.h"
#include "assemble/assemble_command.h"
#include "blend/bulletin_check.h"
#include "blend/station_blend.h"
#include "io/option_word.h"
#include "io/platform.h"
#include "stations/program_path.h"
#include "stations/set_options.h"

namespace {

struct SessionRequest {
    std::optional<std::string> stations;
    std::optional<std::string> city;
    bool stationsFromEnvironment = false;
    bool cityFromEnvironment = false;
    std::string command;
    std::span<const char* const> commandArguments;
    std::size_t count = maxSetStations;  // stations --count
    bool countGiven = false;
};

int refuse(std::ostream& err, const std::string& fault) {
    err << "wxguide: " << fault << "\nTry 'wxguide --help'.\n";
    return 2;
}

bool readCount(std::string_view text, std::size_t& count) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + static_cast<int>(maxSetStations)) {
        return false;
    }
    count = static_cast<std::size_t>(text[0] - '0');
    return true;
}

// Fills `request` from the words; false with the fault.
bool readSession(std::span<const char* const> arguments, SessionRequest& request,
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
    if (request.command == "assemble" || request.command == "run") {
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

std::string weightText(double weight) {
    std::ostringstream text;
    text.precision(9);
    text << weight;
    return text.str();
}

// One station a line: its id, its weight, then with a city its distance and its name. The
// weight column is `weightWidth` wide.
void writeStation(std::ostream& out, std::string_view id, double weight, const StationPlace* place,
                  double distanceKm, std::size_t weightWidth) {
    std::ostringstream line;
    line << std::left << std::setw(6) << id;
    if (place == nullptr) {
        line << weightText(weight);
    } else {
        std::ostringstream distance;
        distance << std::fixed << std::setprecision(1) << distanceKm << " km";
        line << std::setw(static_cast<int>(weightWidth)) << weightText(weight) << std::right
             << std::setw(10) << distance.str() << "  " << place->name;
    }
    out << line.str() << '\n';
}

int showStations(const StationSet& set, const std::vector<const StationPlace*>& places,
                 const std::vector<double>& distancesKm, std::ostream& out) {
    // A weight in exponent form is longer than most: the column widens for it, so the
    // distances stay in line.
    std::size_t weightWidth = 13;
    for (const double weight : set.weights) {
        weightWidth = std::max(weightWidth, weightText(weight).size() + 1);
    }
    for (std::size_t i = 0; i < set.ids.size(); ++i) {
        writeStation(out, set.ids[i], set.weights[i], places.empty() ? nullptr : places[i],
                     places.empty() ? 0.0 : distancesKm[i], weightWidth);
    }
    return out.flush() ? 0 : 1;
}

bool typedWeights(const std::optional<std::string>& stations) {
    return stations && stations->find('=') != std::string::npos;
}

// Fills in what the options leave out from the environment; the options win a clash.
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

// A fault in a value from the environment names its variable, not the option.
std::string fromVariable(std::string fault, std::string_view option, std::string_view variable,
                         bool fromEnvironment) {
    if (fromEnvironment && fault.starts_with(option)) {
        fault.replace(0, option.size(), variable);
    }
    return fault;
}

// "The set comes from WXGUIDE_STATIONS and --city." when the environment holds a set.
void sayWhereTheSetComesFrom(const SessionRequest& request, const SetEnvironment& environment,
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

// Reads the first station table found; false with the fault on `err`.
bool loadTable(const StationTableSearch& search, std::vector<StationPlace>& table,
               std::ostream& err) {
    const std::vector<std::filesystem::path> places =
        stationTablePlaces(search.program, search.dataFolder);
    std::string tried;
    for (const std::filesystem::path& place : places) {
        // Never a blocking open: a FIFO or a device at the name is refused at once.
        DataFileKind kind = DataFileKind::missing;
        const int descriptor = openPlainFile(place.string(), kind);
        if (kind == DataFileKind::missing) {
            tried += (tried.empty() ? "" : ", ") + place.string();
            continue;
        }
        std::string problem;
        bool read = false;
        if (descriptor < 0) {
            std::error_code error;
            problem = std::filesystem::is_directory(place, error) ? "it is a folder"
                                                                  : "it is not a plain file";
        } else {
            ScanFile file;
            openScanFile(file, descriptor);
            read = readStationTable(file, table, problem);
            closeScanFile(file);
            closeFile(descriptor);
        }
        if (read) {
            return true;
        }
        err << "wxguide: the station table " << place.string() << " cannot be read: " << problem
            << "\n";
        return false;
    }
    err << "wxguide: the station table " << stationTableName << " was not found"
        << (tried.empty() ? "" : " (looked for " + tried + ")")
        << "; WXGUIDE_DATA may name the folder that holds it\n";
    return false;
}

StationTableSearch stationTableSearch(std::string_view invokedAs) {
    StationTableSearch search;
    search.program = programPath(invokedAs);
    if (const char* folder = std::getenv("WXGUIDE_DATA")) {
        search.dataFolder = folder;
    }
    return search;
}

bool startsStationSession(std::string_view first) {
    const std::string_view name = splitOptionWord(first).name;
    return name == "--stations" || name == "--city" || first == "stations";
}

std::optional<int> runStationSession(std::span<const char* const> arguments,
                                     const StationTableSearch& search,
                                     const SetEnvironment& environment, std::ostream& out,
                                     std::ostream& err, StationSet& sessionSet,
                                     std::span<const char* const>& runArguments) {
    SessionRequest request;
    std::string fault;
    if (!readSession(arguments, request, fault)) {
        return refuse(err, fault);
    }
    takeEnvironment(request, environment);
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

    StationSet set = fixedStationSet();
    std::vector<const StationPlace*> places;
    std::vector<double> distancesKm;
    std::vector<StationPlace> table;
    if (request.stations && !request.city) {
        set.ids = stations.ids;
        set.weights = stations.weights;
    } else if (request.city) {
        if (!loadTable(search, table, err)) {
            return 1;
        }
        if (request.stations) {
            if (!weighFromCity(stations.ids, city, table, set, distancesKm, fault)) {
                return refuse(err, fault);
            }
            for (const std::string& id : set.ids) {
                places.push_back(findStation(table, id));
            }
        } else {
            places = nearestStations(table, city, request.count);
            set.ids.clear();
            for (const StationPlace* place : places) {
                set.ids.push_back(place->id);
                distancesKm.push_back(greatCircleKm(city.latitude, city.longitude, place->latitude,
                                                    place->longitude));
            }
            set.weights = inverseDistanceWeights(distancesKm);
        }
    }

    if (request.command.empty() || request.command == "run") {
        sessionSet = set;
        runArguments = request.command.empty()
                           ? std::span<const char* const>()
                           : arguments.last(request.commandArguments.size() + 1);
        return std::nullopt;
    }
    if (request.command == "stations") {
        sayWhereTheSetComesFrom(request, environment, out);
        return showStations(set, places, distancesKm, out);
    }
    return runAssemble(request.commandArguments, out, err, set);
}
