#include "app/extract_options.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <system_error>
#include <vector>

#include "extract/grib_extract.h"
#include "io/option_word.h"
#include "stations/set_options.h"
#include "stations/station_table.h"

namespace {

// A point's files are named after the first GRIB2 file, without its ending.
std::string pointFileStem(const std::string& firstFile) {
    std::string stem = baseName(firstFile);
    for (const char* ending : {".grib2", ".grb2", ".grib"}) {
        if (stem.size() > std::strlen(ending) && stem.ends_with(ending)) {
            stem.resize(stem.size() - std::strlen(ending));
        }
    }
    return stem;
}

}  // namespace

bool readExtractRequest(std::span<const char* const> arguments, ExtractRequest& request,
                        std::string& fault) {
    bool optionsEnded = false;
    bool stepGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string word = arguments[i];
        if (optionsEnded || word == "-" || !word.starts_with("-")) {
            request.profiles.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word != "--step" && word != "--columns" && word != "--severe" && word != "--point" &&
            word != "--station" && word != "--run") {
            fault = "unknown option: " + word;
            return false;
        }
        if (i + 1 == arguments.size()) {
            fault = word + " needs a value";
            return false;
        }
        const std::string value = arguments[++i];
        if (word == "--step") {
            int step = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), step);
            if (stepGiven || error != std::errc() || end != value.data() + value.size() ||
                step < 1 || step > 240) {
                fault = "--step takes one whole number of hours from 1 to 240";
                return false;
            }
            request.step = step;
            stepGiven = true;
            continue;
        }
        std::optional<std::string>& name = word == "--columns"   ? request.columnsName
                                           : word == "--severe"  ? request.severeName
                                           : word == "--point"   ? request.point
                                           : word == "--station" ? request.station
                                                                 : request.run;
        if (name || value.empty()) {
            fault = word + " takes one file name";
            return false;
        }
        name = value;
    }
    if (request.profiles.empty()) {
        fault = "no profile given";
        return false;
    }
    if (request.point && request.station) {
        fault = "--point and --station name the place twice; give one";
        return false;
    }
    if (request.profiles.size() > 1 && !request.point && !request.station) {
        fault = "one profile at a time (" + request.profiles[1] + " is a second)";
        return false;
    }
    return true;
}

std::optional<int> settleExtractPlace(const ExtractRequest& request,
                                      const StationTableSearch& tableSearch,
                                      std::optional<ExtractPlace>& place, std::ostream& err) {
    place.reset();
    // Without GRIB2 the refusal of GRIB2 files comes first, whatever the place.
    if (!readsGribFiles()) {
        return std::nullopt;
    }
    if (request.station) {
        std::vector<StationPlace> table;
        if (!loadTable(tableSearch, table, err)) {
            return 1;
        }
        const StationPlace* station = findStation(table, *request.station);
        if (station == nullptr) {
            return writeUsageError(err, "extract",
                                   "no station " + *request.station + " in the station table");
        }
        place = ExtractPlace{station->latitude, station->longitude, station->id, station->id};
    } else if (request.point) {
        CityPoint point;
        std::string fault;
        if (!readCityPoint(*request.point, point, fault, "--point")) {
            return writeUsageError(err, "extract", fault);
        }
        place = ExtractPlace{point.latitude, point.longitude, "POINT",
                             pointFileStem(request.profiles.front())};
    }
    return std::nullopt;
}

int runExtractCommand(std::span<const char* const> arguments, const StationTableSearch& tableSearch,
                      std::ostream& out, std::ostream& err) {
    ExtractRequest request;
    std::string fault;
    if (!readExtractRequest(arguments, request, fault)) {
        return writeUsageError(err, "extract", fault);
    }
    std::optional<ExtractPlace> place;
    if (const std::optional<int> status = settleExtractPlace(request, tableSearch, place, err)) {
        return *status;
    }
    return runExtract(request, place, out, err);
}
