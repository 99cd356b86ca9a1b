#include "stations/stations_command.h"

#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <optional>
#include <sstream>
#include <vector>

#include "arith/great_circle.h"
#include "arith/station_weights.h"
#include "assemble/assemble_command.h"
#include "blend/bulletin_check.h"
#include "blend/station_blend.h"
#include "stations/program_path.h"
#include "stations/set_options.h"

namespace {

struct SessionRequest {
    std::optional<std::string> stations;
    std::optional<std::string> city;
    std::string command;
    std::span<const char* const> commandArguments;
    std::size_t count = maxSetStations;  // stations --count
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
        const std::string_view word = arguments[i];
        std::optional<std::string>* value = word == "--stations" ? &request.stations
                                            : word == "--city"   ? &request.city
                                                                 : nullptr;
        if (value == nullptr) {
            break;
        }
        if (value->has_value()) {
            fault = std::string(word) + " is given twice";
            return false;
        }
        if (i + 1 == arguments.size()) {
            fault = std::string(word) + " needs a value";
            return false;
        }
        *value = arguments[++i];
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
        fault = "unknown command: " + request.command;
        return false;
    }
    const std::span<const char* const> rest = request.commandArguments;
    if (rest.empty()) {
        return true;
    }
    if (std::string_view(rest[0]) != "--count" || rest.size() > 2) {
        fault = "stations takes only --count N";
        return false;
    }
    if (rest.size() == 1 || !readCount(rest[1], request.count)) {
        fault = "--count takes a number from 1 to " + std::to_string(maxSetStations);
        return false;
    }
    if (request.stations || !request.city) {
        fault = "--count goes with --city alone: it counts the nearest stations";
        return false;
    }
    return true;
}

// One station a line: its id, its weight, then with a city its distance and its name.
void writeStation(std::ostream& out, std::string_view id, double weight, const StationPlace* place,
                  double distanceKm) {
    std::ostringstream line;
    line << std::left << std::setw(6) << id;
    std::ostringstream weightText;
    weightText.precision(9);
    weightText << weight;
    if (place == nullptr) {
        line << weightText.str();
    } else {
        std::ostringstream distance;
        distance << std::fixed << std::setprecision(1) << distanceKm << " km";
        line << std::setw(13) << weightText.str() << std::right << std::setw(10) << distance.str()
             << "  " << place->name;
    }
    out << line.str() << '\n';
}

int showStations(const StationSet& set, const std::vector<const StationPlace*>& places,
                 const std::vector<double>& distancesKm, std::ostream& out) {
    for (std::size_t i = 0; i < set.ids.size(); ++i) {
        writeStation(out, set.ids[i], set.weights[i], places.empty() ? nullptr : places[i],
                     places.empty() ? 0.0 : distancesKm[i]);
    }
    return out.flush() ? 0 : 1;
}

}  // namespace

bool loadTable(const StationTableSearch& search, std::vector<StationPlace>& table,
               std::ostream& err) {
    const std::vector<std::filesystem::path> places =
        stationTablePlaces(search.program, search.dataFolder);
    std::string tried;
    for (const std::filesystem::path& place : places) {
        std::ifstream file(place);
        if (!file.is_open()) {
            tried += (tried.empty() ? "" : ", ") + place.string();
            continue;
        }
        std::string problem;
        if (readStationTable(file, table, problem)) {
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
    return first == "--stations" || first == "--city" || first == "stations";
}

std::optional<int> runStationSession(std::span<const char* const> arguments,
                                     const StationTableSearch& search, std::ostream& out,
                                     std::ostream& err, StationSet& sessionSet,
                                     std::span<const char* const>& runArguments) {
    SessionRequest request;
    std::string fault;
    if (!readSession(arguments, request, fault)) {
        return refuse(err, fault);
    }
    StationRequest stations;
    if (request.stations && !readStationRequest(*request.stations, stations, fault)) {
        return refuse(err, fault);
    }
    CityPoint city;
    if (request.city && !readCityPoint(*request.city, city, fault)) {
        return refuse(err, fault);
    }
    if (request.stations && !stations.weights.empty() && request.city) {
        return refuse(err,
                      "--stations: weights cannot be mixed with --city, which weighs the "
                      "stations by distance");
    }
    if (request.stations && stations.weights.empty() && !request.city) {
        return refuse(err,
                      "--stations: give every station a weight (ID=WEIGHT), or the ids "
                      "alone and --city LAT,LON");
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
        return showStations(set, places, distancesKm, out);
    }
    const std::vector<std::string_view> ids(set.ids.begin(), set.ids.end());
    return runAssemble(request.commandArguments, out, err, ids);
}
