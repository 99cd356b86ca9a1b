#include "grib/grib_reader.h"

#include <eccodes.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <tuple>

#include "grib/grib_message_check.h"
#include "io/platform.h"

namespace {

// ecCodes writes its own complaints to standard error unless told otherwise; they must
// never reach the console, where every fault is one line of ours.
void dropLogLine(const codes_context*, int, const char*) {}

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

// The grid's kind, spacing and size, or nothing for a grid type not read.
std::optional<GridShape> gridShapeOf(codes_handle* handle) {
    char type[64] = {};
    std::size_t length = sizeof type;
    if (codes_get_string(handle, "gridType", type, &length) != CODES_SUCCESS) {
        return std::nullopt;
    }
    const std::string gridType = type;
    GridShape shape;
    if (gridType == "regular_ll") {
        shape = {GridKind::latLon, doubleOr(handle, "iDirectionIncrementInDegrees", 0.0),
                 doubleOr(handle, "jDirectionIncrementInDegrees", 0.0), longOr(handle, "Ni", 0),
                 longOr(handle, "Nj", 0)};
    } else if (gridType == "lambert" || gridType == "polar_stereographic") {
        shape = {gridType == "lambert" ? GridKind::lambert : GridKind::polarStereographic,
                 doubleOr(handle, "DxInMetres", 0.0) / 1000.0,
                 doubleOr(handle, "DyInMetres", 0.0) / 1000.0, longOr(handle, "Nx", 0),
                 longOr(handle, "Ny", 0)};
    } else if (gridType == "mercator") {
        shape = {GridKind::mercator, doubleOr(handle, "DiInMetres", 0.0) / 1000.0,
                 doubleOr(handle, "DjInMetres", 0.0) / 1000.0, longOr(handle, "Ni", 0),
                 longOr(handle, "Nj", 0)};
    } else {
        return std::nullopt;
    }
    return shape;
}

// A longitude from ecCodes (0 to 360 on NCEP's grids) as -180 to 180, west negative.
double eastOrWest(double longitude) {
    const double turned = std::fmod(longitude, 360.0);
    return turned > 180.0 ? turned - 360.0 : (turned <= -180.0 ? turned + 360.0 : turned);
}

struct GridPoint {
    int index = 0;
    GribGridPoint place;
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
    const std::optional<GridShape> shape = gridShapeOf(handle);
    const double gridLength = shape ? gridSpacingKm(*shape) : 0.0;
    if (!(gridLength > 0.0)) {
        fault = file + ": a grid wxguide cannot measure";
        return false;
    }
    if (distances[best] > 1.5 * gridLength) {
        char text[160];
        std::snprintf(text, sizeof text,
                      ": the place lies outside the grid (its nearest point is %.0f km away, "
                      "the grid length %.0f km)",
                      distances[best], gridLength);
        fault = file + text;
        return false;
    }
    found.index = indexes[best];
    found.place = GribGridPoint{lats[best], eastOrWest(lons[best]), distances[best], *shape};
    return true;
}

// The fault of a message, with the file and the message's number.
std::string messageFault(const std::string& file, std::size_t number, const std::string& what) {
    return file + ": message " + std::to_string(number) + ": " + what;
}

// Where ecCodes is reading and what to do when an assertion fails inside it: the library's
// handler takes no argument of ours, so this is the one state held outside a call.
struct LibraryWatch {
    const std::string* file = nullptr;
    std::size_t message = 0;
    GribAssertionHandler handler = nullptr;
};
LibraryWatch watch;

// The library's words on one line, whatever they hold.
std::string printable(const char* text) {
    std::string line = text != nullptr ? text : "";
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') {
            c = ' ';
        }
    }
    return line.substr(0, 200);
}

[[noreturn]] void tellAssertionAndExit(const std::string& where, const char* expression) {
    const std::string line = "wxguide extract: " + where + ": ecCodes failed a check of its own (" +
                             printable(expression) + "); nothing was written.\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(nullptr);
    // Not exit(): the library's state is past trusting, so nothing of it may run again.
    std::_Exit(1);
}

void onLibraryAssertion(const char* expression) {
    const std::string where = watch.file != nullptr
                                  ? *watch.file + ": message " + std::to_string(watch.message)
                                  : std::string("ecCodes");
    (watch.handler != nullptr ? watch.handler : tellAssertionAndExit)(where, expression);
    // A handler that returns would let the library run on past its failed check.
    tellAssertionAndExit(where, expression);
}

// What the files gave so far: only what the rows and the checks need, so that memory
// grows with the wanted fields and hours, never with repeated messages.
struct Gathered {
    std::map<std::string, GridPoint> grids;                 // by md5GridSection
    std::vector<std::pair<long long, GribSample>> samples;  // with their runs, as read
    std::set<long long> runs;
    std::map<std::pair<long long, int>, std::size_t> fileOfHour;  // (run, hour): first file
    // The first hour of each run found in a second file: that file, the first, the hour.
    std::map<long long, std::tuple<std::size_t, std::size_t, int>> clashOfRun;
    // The wanted fields of the file being read: run, field, kind, start and end hours.
    std::set<std::tuple<long long, int, int, int, int>> fieldsOfFile;
    // Of each run's wanted fields: the models that made them ("" for one unknown) and
    // their grids.
    std::map<long long, std::set<std::string>> modelsOfRun;
    std::map<long long, std::set<std::string>> gridsOfRun;
};

// ecCodes unpacks a whole field at once, whatever few bytes the message takes: a grid past
// the bound is refused from its keys, before any value is unpacked.
bool gridWithinBound(codes_handle* handle, std::string& fault) {
    long points = 0;
    if (codes_get_long(handle, "numberOfDataPoints", &points) != CODES_SUCCESS) {
        fault = "it gives no number of grid points";
        return false;
    }
    const long values = longOr(handle, "numberOfValues", 0);
    const long ni = longOr(handle, "Ni", CODES_MISSING_LONG);
    const long nj = longOr(handle, "Nj", CODES_MISSING_LONG);
    const bool sides = ni != CODES_MISSING_LONG && nj != CODES_MISSING_LONG;
    const double area = sides ? static_cast<double>(ni) * static_cast<double>(nj) : 0.0;
    if (points > gribGridPointBound || values > gribGridPointBound ||
        area > static_cast<double>(gribGridPointBound)) {
        fault = "a grid of " +
                (sides ? std::to_string(ni) + " x " + std::to_string(nj) + " points"
                       : std::to_string(std::max(points, values)) + " points") +
                ", more than the " + std::to_string(gribGridPointBound) +
                " wxguide reads in a message";
        return false;
    }
    return true;
}

bool readMessage(codes_handle* handle, std::span<const DataFile> files, std::size_t fileIndex,
                 std::size_t messageNumber, double latitude, double longitude, Gathered& gathered,
                 std::string& fault) {
    const std::string& file = files[fileIndex].name;
    long edition = 0;
    if (!getLong(handle, "edition", edition, file, fault)) {
        return false;
    }
    if (edition != 2) {
        fault = file + ": a GRIB edition 1 message; wxguide reads GRIB2";
        return false;
    }
    if (!gridWithinBound(handle, fault)) {
        fault = messageFault(file, messageNumber, fault);
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
    const int hour = static_cast<int>(endStep);
    gathered.runs.insert(run);
    const auto [first, added] = gathered.fileOfHour.emplace(std::pair{run, hour}, fileIndex);
    if (!added && first->second != fileIndex) {
        gathered.clashOfRun.emplace(run, std::tuple{fileIndex, first->second, hour});
    }
    const std::optional<GribField> field = matchField(keys);
    if (!field) {
        return true;  // counted for the run and hour checks only
    }
    if (!gathered.fieldsOfFile
             .emplace(run, static_cast<int>(*field), static_cast<int>(keys.kind),
                      static_cast<int>(startStep), hour)
             .second) {
        fault = messageFault(file, messageNumber,
                             std::string(gribFieldNames[*field]) + " of hour " +
                                 std::to_string(hour) + " is in the file twice");
        return false;
    }
    char md5[64] = {};
    std::size_t md5Length = sizeof md5;
    int code = codes_get_string(handle, "md5GridSection", md5, &md5Length);
    if (code != CODES_SUCCESS) {
        fault = errorText(file, code);
        return false;
    }
    auto grid = gathered.grids.find(md5);
    if (grid == gathered.grids.end()) {
        GridPoint point;
        if (!findPoint(handle, latitude, longitude, file, point, fault)) {
            return false;
        }
        grid = gathered.grids.emplace(md5, point).first;
    }
    gathered.gridsOfRun[run].insert(md5);
    gathered.modelsOfRun[run].insert(
        gribModelName(longOr(handle, "centre", -1),
                      longOr(handle, "generatingProcessIdentifier", -1), grid->second.place.shape));
    double value = 0.0;
    code = codes_get_double_element(handle, "values", grid->second.index, &value);
    if (code != CODES_SUCCESS) {
        fault = errorText(file, code);
        return false;
    }
    GribSample sample;
    sample.field = *field;
    sample.kind = keys.kind;
    sample.startHour = static_cast<int>(startStep);
    sample.endHour = hour;
    sample.value = value;
    sample.masked = longOr(handle, "bitmapPresent", 0) != 0 &&
                    value == doubleOr(handle, "missingValue", 9999.0);
    gathered.samples.emplace_back(run, sample);
    return true;
}

// The next message's start at or after `offset`: the next "GRIB" in the file, so that
// bytes between messages are passed over. False at the file's end.
bool findMessageStart(int descriptor, std::uint64_t& offset) {
    constexpr std::string_view opening = "GRIB";
    std::vector<char> block(64 * 1024);
    for (;;) {
        const std::size_t got = readFileAt(descriptor, block.data(), block.size(), offset);
        if (got < opening.size()) {
            return false;
        }
        const std::size_t found = std::string_view(block.data(), got).find(opening);
        if (found != std::string_view::npos) {
            offset += found;
            return true;
        }
        // The last bytes may begin an opening that the next block ends.
        offset += got - (opening.size() - 1);
    }
}

// Reads the whole message at `offset` into `message` and checks it. The bytes are read as
// they come, so a length that promises more than the file holds costs no memory.
bool readCheckedMessage(int descriptor, std::uint64_t offset, std::vector<unsigned char>& message,
                        std::string& fault) {
    unsigned char head[gribIndicatorLength];
    const std::size_t got =
        readFileAt(descriptor, reinterpret_cast<char*>(head), sizeof head, offset);
    std::uint64_t length = 0;
    if (got < sizeof head) {
        fault = "the file ends inside its first " + std::to_string(sizeof head) + " bytes";
        return false;
    }
    if (!readGribLength(head, length, fault)) {
        return false;
    }
    message.clear();
    constexpr std::size_t piece = 1 << 20;
    while (message.size() < length) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(piece, length - message.size()));
        const std::size_t had = message.size();
        message.resize(had + want);
        const std::size_t came = readFileAt(
            descriptor, reinterpret_cast<char*>(message.data() + had), want, offset + had);
        message.resize(had + came);
        if (came == 0) {
            fault = "its length " + std::to_string(length) + " runs past the file's end";
            return false;
        }
    }
    fault = checkGribMessage(message);
    return fault.empty();
}

// Hands one checked message to ecCodes, field by field. NCEP packs U and V into one
// message; each field is handed over as a message of its own, so that ecCodes keeps no
// state of its own between messages.
bool readFields(codes_context* context, const std::vector<unsigned char>& message,
                std::span<const DataFile> files, std::size_t fileIndex, std::size_t messageNumber,
                double latitude, double longitude, Gathered& gathered, std::string& fault) {
    const std::string& file = files[fileIndex].name;
    std::vector<std::vector<unsigned char>> fields;
    if (!splitGribFields(message, fields, fault)) {
        fault = messageFault(file, messageNumber, fault);
        return false;
    }
    for (const std::vector<unsigned char>& field : fields) {
        const Handle handle(codes_handle_new_from_message(context, field.data(), field.size()));
        if (handle == nullptr) {
            fault = messageFault(file, messageNumber, "ecCodes cannot read it");
            return false;
        }
        if (!readMessage(handle.get(), files, fileIndex, messageNumber, latitude, longitude,
                         gathered, fault)) {
            return false;
        }
    }
    return true;
}

// The run's model, and the grid point farthest from the place among its grids'.
void describeGrids(const Gathered& gathered, GribPoint& point) {
    const auto models = gathered.modelsOfRun.find(point.run);
    point.model = models != gathered.modelsOfRun.end() && models->second.size() == 1
                      ? *models->second.begin()
                      : "";
    const auto grids = gathered.gridsOfRun.find(point.run);
    if (grids == gathered.gridsOfRun.end()) {
        return;
    }
    point.grids = grids->second.size();
    for (const std::string& md5 : grids->second) {
        const GribGridPoint& place = gathered.grids.at(md5).place;
        if (!point.gridPoint || place.distanceKm > point.gridPoint->distanceKm) {
            point.gridPoint = place;
        }
    }
}

}  // namespace

bool readGribPoint(std::span<const DataFile> files, double latitude, double longitude,
                   std::optional<long long> run, GribPoint& point, std::string& fault) {
    codes_context* context = codes_context_get_default();
    codes_context_set_logging_proc(context, dropLogLine);
    codes_set_codes_assertion_failed_proc(onLibraryAssertion);
    Gathered gathered;
    std::vector<unsigned char> message;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string& file = files[f].name;
        gathered.fieldsOfFile.clear();
        watch.file = &file;
        std::size_t messages = 0;
        for (std::uint64_t offset = 0; findMessageStart(files[f].descriptor, offset);) {
            ++messages;
            watch.message = messages;
            if (!readCheckedMessage(files[f].descriptor, offset, message, fault)) {
                fault = messageFault(file, messages, fault);
                watch.file = nullptr;
                return false;
            }
            offset += message.size();
            if (!readFields(context, message, files, f, messages, latitude, longitude, gathered,
                            fault)) {
                watch.file = nullptr;
                return false;
            }
        }
        watch.file = nullptr;
        if (messages == 0) {
            fault = file + ": no GRIB2 message in it";
            return false;
        }
    }
    if (run && !gathered.runs.contains(*run)) {
        fault = files.front().name + (files.size() > 1 ? " ..." : "") + ": no message of the run " +
                std::to_string(*run);
        return false;
    }
    if (!run && gathered.runs.size() > 1) {
        std::string list;
        for (const long long each : gathered.runs) {
            list += (list.empty() ? "" : ", ") + std::to_string(each);
        }
        fault = "the files hold several runs (" + list + "); name the one to take with --run";
        return false;
    }
    point.run = run ? *run : *gathered.runs.begin();
    if (const auto clash = gathered.clashOfRun.find(point.run);
        clash != gathered.clashOfRun.end()) {
        const auto [second, first, hour] = clash->second;
        fault = files[second].name + ": hour " + std::to_string(hour) + " is in " +
                files[first].name + " as well; give one file per hour";
        return false;
    }
    for (const auto& [sampleRun, sample] : gathered.samples) {
        if (sampleRun == point.run) {
            point.samples.push_back(sample);
        }
    }
    describeGrids(gathered, point);
    return true;
}

void setGribAssertionHandler(GribAssertionHandler handler) {
    watch.handler = handler;
}
