#include "grib/grib_reader.h"

#include <eccodes.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

namespace {

// ecCodes writes its own complaints to standard error unless told otherwise; they must
// never reach the console, where every fault is one line of ours.
void dropLogLine(const codes_context*, int, const char*) {}

struct FileCloser {
    void operator()(std::FILE* file) const {
        std::fclose(file);
    }
};
struct HandleDeleter {
    void operator()(codes_handle* handle) const {
        codes_handle_delete(handle);
    }
};
struct NearestDeleter {
    void operator()(codes_nearest* nearest) const {
        codes_grib_nearest_delete(nearest);
    }
};
using Handle = std::unique_ptr<codes_handle, HandleDeleter>;

std::string errorText(const std::string& file, int code) {
    return file + ": " + codes_get_error_message(code);
}

bool getLong(codes_handle* handle, const char* key, long& value, const std::string& file,
             std::string& fault) {
    const int code = codes_get_long(handle, key, &value);
    if (code != CODES_SUCCESS) {
        fault = errorText(file, code) + " (" + key + ")";
        return false;
    }
    return true;
}

long longOr(codes_handle* handle, const char* key, long otherwise) {
    long value = 0;
    return codes_get_long(handle, key, &value) == CODES_SUCCESS ? value : otherwise;
}

double doubleOr(codes_handle* handle, const char* key, double otherwise) {
    double value = 0;
    return codes_get_double(handle, key, &value) == CODES_SUCCESS ? value : otherwise;
}

// The grid's length in km, the spacing of its rows, or nothing for a grid type not read.
std::optional<double> gridLengthKm(codes_handle* handle) {
    char type[64] = {};
    std::size_t length = sizeof type;
    if (codes_get_string(handle, "gridType", type, &length) != CODES_SUCCESS) {
        return std::nullopt;
    }
    const std::string gridType = type;
    if (gridType == "regular_ll") {
        return doubleOr(handle, "jDirectionIncrementInDegrees", 0.0) * 111.195;
    }
    if (gridType == "lambert" || gridType == "polar_stereographic") {
        return doubleOr(handle, "DyInMetres", 0.0) / 1000.0;
    }
    if (gridType == "mercator") {
        return doubleOr(handle, "DjInMetres", 0.0) / 1000.0;
    }
    return std::nullopt;
}

struct GridPoint {
    int index = 0;
};

bool findPoint(codes_handle* handle, double latitude, double longitude, const std::string& file,
               GridPoint& found, std::string& fault) {
    int code = 0;
    const std::unique_ptr<codes_nearest, NearestDeleter> nearest(
        codes_grib_nearest_new(handle, &code));
    if (nearest == nullptr || code != CODES_SUCCESS) {
        fault = errorText(file, code);
        return false;
    }
    double lats[4], lons[4], values[4], distances[4];
    int indexes[4];
    std::size_t count = 4;
    code =
        codes_grib_nearest_find(nearest.get(), handle, latitude, longitude, CODES_NEAREST_SAME_GRID,
                                lats, lons, values, distances, indexes, &count);
    if (code == CODES_OUT_OF_AREA) {
        fault = file + ": the place lies outside the grid";
        return false;
    }
    if (code != CODES_SUCCESS || count == 0) {
        fault = errorText(file, code != CODES_SUCCESS ? code : CODES_NOT_FOUND);
        return false;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < count; ++i) {
        if (distances[i] < distances[best]) {
            best = i;
        }
    }
    const std::optional<double> gridLength = gridLengthKm(handle);
    if (!gridLength || *gridLength <= 0.0) {
        fault = file + ": a grid wxguide cannot measure";
        return false;
    }
    if (distances[best] > 1.5 * *gridLength) {
        char text[160];
        std::snprintf(text, sizeof text,
                      ": the place lies outside the grid (its nearest point is %.0f km away, "
                      "the grid length %.0f km)",
                      distances[best], *gridLength);
        fault = file + text;
        return false;
    }
    found.index = indexes[best];
    return true;
}

struct Seen {
    long long run;
    int hour;
    std::size_t file;
    GribSample sample;
};

bool readMessage(codes_handle* handle, const std::string& file, std::size_t fileIndex,
                 double latitude, double longitude, std::map<std::string, GridPoint>& grids,
                 std::vector<Seen>& seen, std::string& fault) {
    long edition = 0;
    if (!getLong(handle, "edition", edition, file, fault)) {
        return false;
    }
    if (edition != 2) {
        fault = file + ": a GRIB edition 1 message; wxguide reads GRIB2";
        return false;
    }
    long date = 0, time = 0, startStep = 0, endStep = 0;
    // Steps in hours, whatever unit the message counts in.
    codes_set_long(handle, "stepUnits", 1);
    if (!getLong(handle, "dataDate", date, file, fault) ||
        !getLong(handle, "dataTime", time, file, fault) ||
        !getLong(handle, "startStep", startStep, file, fault) ||
        !getLong(handle, "endStep", endStep, file, fault)) {
        return false;
    }
    MessageKeys keys;
    keys.discipline = longOr(handle, "discipline", -1);
    keys.category = longOr(handle, "parameterCategory", -1);
    keys.number = longOr(handle, "parameterNumber", -1);
    keys.surfaceType = longOr(handle, "typeOfFirstFixedSurface", -1);
    keys.secondSurfaceType = longOr(handle, "typeOfSecondFixedSurface", 255);
    const long scaled = longOr(handle, "scaledValueOfFirstFixedSurface", 0);
    const long factor = longOr(handle, "scaleFactorOfFirstFixedSurface", 0);
    const bool valueMissing = scaled == CODES_MISSING_LONG || factor == CODES_MISSING_LONG;
    keys.surfaceValue =
        valueMissing ? 0.0
                     : static_cast<double>(scaled) * std::pow(10.0, -static_cast<double>(factor));
    keys.kind = timeKindOf(longOr(handle, "productDefinitionTemplateNumber", -1),
                           longOr(handle, "typeOfStatisticalProcessing", -1));
    const long long run = static_cast<long long>(date) * 100 + time / 100;
    Seen entry{run, static_cast<int>(endStep), fileIndex, {}};
    const std::optional<GribField> field = matchField(keys);
    if (!field) {
        entry.sample.kind = TimeKind::other;  // counts for the run and hour checks only
        seen.push_back(entry);
        return true;
    }
    char md5[64] = {};
    std::size_t md5Length = sizeof md5;
    int code = codes_get_string(handle, "md5GridSection", md5, &md5Length);
    if (code != CODES_SUCCESS) {
        fault = errorText(file, code);
        return false;
    }
    auto grid = grids.find(md5);
    if (grid == grids.end()) {
        GridPoint point;
        if (!findPoint(handle, latitude, longitude, file, point, fault)) {
            return false;
        }
        grid = grids.emplace(md5, point).first;
    }
    double value = 0.0;
    code = codes_get_double_element(handle, "values", grid->second.index, &value);
    if (code != CODES_SUCCESS) {
        fault = errorText(file, code);
        return false;
    }
    entry.sample.field = *field;
    entry.sample.kind = keys.kind;
    entry.sample.startHour = static_cast<int>(startStep);
    entry.sample.endHour = static_cast<int>(endStep);
    entry.sample.value = value;
    entry.sample.masked = longOr(handle, "bitmapPresent", 0) != 0 &&
                          value == doubleOr(handle, "missingValue", 9999.0);
    seen.push_back(entry);
    return true;
}

}  // namespace

bool readGribPoint(std::span<const std::string> files, double latitude, double longitude,
                   std::optional<long long> run, GribPoint& point, std::string& fault) {
    codes_context* context = codes_context_get_default();
    codes_context_set_logging_proc(context, dropLogLine);
    // NCEP packs U and V into one message: without this V is never seen.
    codes_grib_multi_support_on(context);
    std::vector<Seen> seen;
    std::map<std::string, GridPoint> grids;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string& file = files[f];
        const std::unique_ptr<std::FILE, FileCloser> in(std::fopen(file.c_str(), "rb"));
        if (in == nullptr) {
            fault = file + ": cannot be opened";
            return false;
        }
        codes_grib_multi_support_reset_file(context, in.get());
        std::size_t messages = 0;
        for (;;) {
            int code = CODES_SUCCESS;
            const Handle handle(codes_handle_new_from_file(context, in.get(), PRODUCT_GRIB, &code));
            if (code != CODES_SUCCESS) {
                fault = errorText(file, code);
                return false;
            }
            if (handle == nullptr) {
                break;
            }
            ++messages;
            if (!readMessage(handle.get(), file, f, latitude, longitude, grids, seen, fault)) {
                return false;
            }
        }
        if (messages == 0) {
            fault = file + ": no GRIB2 message in it";
            return false;
        }
    }
    std::set<long long> runs;
    for (const Seen& entry : seen) {
        runs.insert(entry.run);
    }
    if (run && !runs.contains(*run)) {
        fault = files.front() + (files.size() > 1 ? " ..." : "") + ": no message of the run " +
                std::to_string(*run);
        return false;
    }
    if (!run && runs.size() > 1) {
        std::string list;
        for (const long long each : runs) {
            list += (list.empty() ? "" : ", ") + std::to_string(each);
        }
        fault = "the files hold several runs (" + list + "); name the one to take with --run";
        return false;
    }
    point.run = run ? *run : *runs.begin();
    std::map<int, std::size_t> fileOfHour;
    for (const Seen& entry : seen) {
        if (entry.run != point.run) {
            continue;
        }
        const auto [where, added] = fileOfHour.emplace(entry.hour, entry.file);
        if (!added && where->second != entry.file) {
            fault = files[entry.file] + ": hour " + std::to_string(entry.hour) + " is in " +
                    files[where->second] + " as well; give one file per hour";
            return false;
        }
        if (entry.sample.kind != TimeKind::other) {
            point.samples.push_back(entry.sample);
        }
    }
    return true;
}
