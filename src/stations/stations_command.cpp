#include "stations/stations_command.h"

#include <algorithm>
#include <cstdlib>
#include <iomanip>
#include <sstream>

#include "arith/great_circle.h"
#include "io/platform.h"
#include "stations/program_path.h"

namespace {

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

}  // namespace

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

bool weighListedSet(std::span<const std::string> ids, CityPoint city,
                    std::span<const StationPlace> table, ListedSet& listed, std::string& fault) {
    if (!weighFromCity(ids, city, table, listed.set, listed.distancesKm, fault)) {
        return false;
    }
    listed.places.clear();
    for (const std::string& id : listed.set.ids) {
        listed.places.push_back(*findStation(table, id));
    }
    return true;
}

ListedSet nearestListedSet(std::span<const StationPlace> table, CityPoint city, std::size_t count) {
    ListedSet listed;
    for (const StationPlace* place : nearestStations(table, city, count)) {
        listed.set.ids.push_back(place->id);
        listed.places.push_back(*place);
        listed.distancesKm.push_back(
            greatCircleKm(city.latitude, city.longitude, place->latitude, place->longitude));
    }
    listed.set.weights = inverseDistanceWeights(listed.distancesKm);
    return listed;
}

int writeStationList(const ListedSet& listed, std::ostream& out) {
    const StationSet& set = listed.set;
    // A weight in exponent form is longer than most: the column widens for it, so the
    // distances stay in line.
    std::size_t weightWidth = 13;
    for (const double weight : set.weights) {
        weightWidth = std::max(weightWidth, weightText(weight).size() + 1);
    }
    for (std::size_t i = 0; i < set.ids.size(); ++i) {
        writeStation(out, set.ids[i], set.weights[i],
                     listed.places.empty() ? nullptr : &listed.places[i],
                     listed.places.empty() ? 0.0 : listed.distancesKm[i], weightWidth);
    }
    return out.flush() ? 0 : 1;
}
