#include "stations/set_options.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "arith/great_circle.h"
#include "io/option_word.h"

namespace {

// Bulletin headers write ids in capitals; kfsd typed means KFSD.
bool readStationId(std::string_view text, std::string& id) {
    if (!isStationId(text)) {
        return false;
    }
    id.clear();
    for (const char c : text) {
        id += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return true;
}

std::vector<std::string_view> splitAtCommas(std::string_view text) {
    std::vector<std::string_view> items;
    std::size_t at = 0;
    while (true) {
        const std::size_t comma = text.find(',', at);
        items.push_back(text.substr(at, comma == std::string_view::npos ? comma : comma - at));
        if (comma == std::string_view::npos) {
            return items;
        }
        at = comma + 1;
    }
}

std::string shown(double value) {
    std::ostringstream text;
    text.precision(9);
    text << value;
    return text.str();
}

}  // namespace

bool readStationRequest(std::string_view text, StationRequest& request, std::string& fault) {
    request = {};
    const std::vector<std::string_view> items = splitAtCommas(text);
    if (text.empty()) {
        fault = "--stations: no station given";
        return false;
    }
    if (items.size() > maxSetStations) {
        fault = "--stations: " + std::to_string(items.size()) +
                " stations given; a set holds 1 to " + std::to_string(maxSetStations);
        return false;
    }
    std::size_t weighed = 0;
    for (const std::string_view item : items) {
        const std::size_t equals = item.find('=');
        const std::string_view idText = item.substr(0, equals);
        std::string id;
        if (!readStationId(idText, id)) {
            fault = "--stations: \"" + std::string(idText) +
                    "\" is not a station id (four letters or digits)";
            return false;
        }
        if (std::find(request.ids.begin(), request.ids.end(), id) != request.ids.end()) {
            fault = "--stations: " + id + " is given twice";
            return false;
        }
        request.ids.push_back(id);
        if (equals == std::string_view::npos) {
            continue;
        }
        ++weighed;
        const std::string_view weightText = item.substr(equals + 1);
        double weight = 0.0;
        if (!readTypedNumber(weightText, weight)) {
            fault = "--stations: the weight of " + id + " is not a number: \"" +
                    std::string(weightText) + "\"";
            return false;
        }
        if (weight < 0.0 || weight > 1.0) {
            fault = "--stations: the weight of " + id +
                    " lies outside 0 to 1: " + std::string(weightText);
            return false;
        }
        request.weights.push_back(weight);
    }
    if (weighed != 0 && weighed != items.size()) {
        fault = "--stations: give every station a weight (ID=WEIGHT), or none and --city";
        return false;
    }
    // Summed as the blend sums its products, left to right.
    double sum = 0.0;
    for (const double weight : request.weights) {
        sum = sum + weight;
    }
    if (weighed != 0 && std::fabs(sum - 1.0) > weightSumTolerance) {
        fault = "--stations: the weights add up to " + shown(sum) + ", not to 1 (within " +
                shown(weightSumTolerance) + ")";
        return false;
    }
    return true;
}

bool readCityPoint(std::string_view text, CityPoint& city, std::string& fault,
                   std::string_view option) {
    const std::vector<std::string_view> items = splitAtCommas(text);
    if (items.size() != 2 || !readTypedNumber(items[0], city.latitude) ||
        !readTypedNumber(items[1], city.longitude)) {
        fault = std::string(option) +
                " takes LAT,LON in decimal degrees, north and east positive: \"" +
                std::string(text) + "\"";
        return false;
    }
    if (city.latitude < -90.0 || city.latitude > 90.0) {
        fault = std::string(option) + ": the latitude " + std::string(items[0]) +
                " lies outside -90 to 90";
        return false;
    }
    if (city.longitude < -180.0 || city.longitude > 180.0) {
        fault = std::string(option) + ": the longitude " + std::string(items[1]) +
                " lies outside -180 to 180";
        return false;
    }
    return true;
}

bool weighFromCity(std::span<const std::string> ids, CityPoint city,
                   std::span<const StationPlace> table, StationSet& set,
                   std::vector<double>& distancesKm, std::string& fault) {
    distancesKm.clear();
    for (const std::string& id : ids) {
        const StationPlace* place = findStation(table, id);
        if (place == nullptr) {
            fault = "--city: " + id + " is not in the station table, so its distance is unknown";
            return false;
        }
        distancesKm.push_back(
            greatCircleKm(city.latitude, city.longitude, place->latitude, place->longitude));
    }
    set.ids.assign(ids.begin(), ids.end());
    set.weights = inverseDistanceWeights(distancesKm);
    return true;
}

std::vector<const StationPlace*> nearestStations(std::span<const StationPlace> table,
                                                 CityPoint city, std::size_t count) {
    struct Near {
        double distanceKm;
        const StationPlace* place;
    };
    std::vector<Near> all;
    all.reserve(table.size());
    for (const StationPlace& place : table) {
        all.push_back(
            {greatCircleKm(city.latitude, city.longitude, place.latitude, place.longitude),
             &place});
    }
    const std::size_t kept = std::min(count, all.size());
    std::stable_sort(all.begin(), all.end(),
                     [](const Near& a, const Near& b) { return a.distanceKm < b.distanceKm; });
    std::vector<const StationPlace*> nearest;
    for (std::size_t i = 0; i < kept; ++i) {
        nearest.push_back(all[i].place);
    }
    return nearest;
}
