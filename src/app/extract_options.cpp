#include "app/extract_options.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <system_error>
#include <vector>

#include "app/command_table.h"
#include "extract/grib_extract.h"
#include "io/option_word.h"
#include "stations/set_options.h"
#include "stations/station_table.h"

namespace {

bool takeExtractWord(const CommandWord& word, ExtractRequest& request, bool& stepGiven,
                     std::string& fault) {
    if (word.option == nullptr) {
        request.profiles.push_back(word.text);
        return true;
    }
    const std::string_view name = word.option->name;
    const std::string& value = word.text;
    if (name == "--step") {
        int step = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), step);
        if (stepGiven || error != std::errc() || end != value.data() + value.size() || step < 1 ||
            step > 240) {
            fault = "--step takes one whole number of hours from 1 to 240";
            return false;
        }
        request.step = step;
        stepGiven = true;
        return true;
    }
    std::optional<std::string>& text = name == "--columns"   ? request.columnsName
                                       : name == "--severe"  ? request.severeName
                                       : name == "--point"   ? request.point
                                       : name == "--station" ? request.station
                                                             : request.run;
    if (text || value.empty()) {
        fault = std::string(name) + " takes one file name";
        return false;
    }
    text = value;
    return true;
}

}  // namespace

bool readExtractRequest(std::span<const char* const> arguments, ExtractRequest& request,
                        std::string& fault) {
    bool stepGiven = false;
    const auto take = [&](const CommandWord& word, std::string& wordFault) {
        return takeExtractWord(word, request, stepGiven, wordFault);
    };
    if (!readCommandWords(*findCommand("extract"), arguments, take, fault)) {
        return false;
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
            const bool lowerCase = std::any_of(request.station->begin(), request.station->end(),
                                               [](char c) { return c >= 'a' && c <= 'z'; });
            return writeUsageError(err, "extract",
                                   "no station " + *request.station + " in the station table" +
                                       (lowerCase ? "; station ids are written in capitals" : ""));
        }
        place = ExtractPlace{station->latitude, station->longitude, station->id, station->id};
    } else if (request.point) {
        CityPoint point;
        std::string fault;
        if (!readCityPoint(*request.point, point, fault, "--point")) {
            return writeUsageError(err, "extract", fault);
        }
        place = ExtractPlace{point.latitude, point.longitude, "POINT",
                             placeFileStem(point.latitude, point.longitude)};
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
