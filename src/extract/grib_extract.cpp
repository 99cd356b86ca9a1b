#include "extract/grib_extract.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#include "extract/value_ranges.h"
#include "grib/grib_reader.h"
#include "grib/grib_rows.h"
#include "io/platform.h"

namespace {

// --run's value: ten digits, YYYYMMDDHH.
bool readRun(const std::string& text, long long& run) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), run);
    return text.size() == 10 && error == std::errc() && end == text.data() + text.size();
}

// True, with the fault told, when an output name is one of the input files.
bool outputIsAnInput(std::span<const DataFile> inputs, const ExtractFiles& files,
                     std::ostream& err) {
    for (const DataFile& input : inputs) {
        if (input.descriptor < 0) {
            continue;
        }
        for (const std::string& name : {files.columnsName, files.severeName}) {
            if (isSameFile(input.descriptor, input.name, name)) {
                err << "wxguide extract: " << name << " is the input " << input.name
                    << "; nothing was written.\n";
                return true;
            }
        }
    }
    return false;
}

ProfileTables tablesOf(const GribTables& grib) {
    ProfileTables tables;
    for (const GribRow& row : grib.rows) {
        ColumnRow column;
        column.hour = row.hour;
        std::copy(row.column.begin(), row.column.end(), column.values.begin());
        SevereRow severe;
        severe.hour = row.hour;
        std::copy(row.severe.begin(), row.severe.end(), severe.values.begin());
        tables.columns.push_back(column);
        tables.severe.push_back(severe);
    }
    return tables;
}

// The rows at `place`, the values outside their spans left out with a note each. False
// with the fault told.
bool readRows(const ExtractRequest& request, const ExtractPlace& place,
              std::span<const DataFile> inputs, std::optional<long long> run, GribTables& grib,
              GribPoint& point, std::ostream& err) {
    // Each input a plain file or refused at once: a pipe or a device could keep the run
    // waiting or reading for ever.
    for (const DataFile& input : inputs) {
        if (input.descriptor < 0) {
            err << "wxguide extract: " << input.name << " " << whyNotOpened(input.kind)
                << "; nothing was written.\n";
            return false;
        }
    }
    std::string fault;
    if (!readGribPoint(inputs, place.latitude, place.longitude, run, point, fault)) {
        err << "wxguide extract: " << fault << "; nothing was written.\n";
        return false;
    }
    std::vector<std::string> rangeNotes;
    screenGribSamples(point.samples, rangeNotes);
    grib = buildGribRows(point.samples, request.step);
    if (grib.rows.empty()) {
        err << "wxguide extract: the files hold no forecast hour that is a multiple of "
            << request.step << " from " << request.step << " on; nothing was written.\n";
        return false;
    }
    grib.notes.insert(grib.notes.begin(), rangeNotes.begin(), rangeNotes.end());
    return true;
}

// The files' default stem: the place, the model in lower case and the run, so that two
// models or two runs at one place never share a name: KDSM_gfs_2026120812.
std::string gribFileStem(const std::string& placeStem, std::string model, long long run) {
    std::transform(model.begin(), model.end(), model.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    char digits[24];
    std::snprintf(digits, sizeof digits, "%010lld", run);
    return placeStem + "_" + model + "_" + digits;
}

// Which grid point the place is read at, and, when it lies farther from the place than
// any point inside the grid can, a second line that says so.
std::vector<std::string> gridPointNotes(const ExtractPlace& place, const GribPoint& point) {
    if (!point.gridPoint) {
        return {};
    }
    const GribGridPoint& used = *point.gridPoint;
    const std::string where = place.name + " " + placeTitle(place.latitude, place.longitude);
    char distance[64];
    std::snprintf(distance, sizeof distance, "%.1f km", used.distanceKm);
    std::vector<std::string> notes{
        where + " is read at the grid point " + placeTitle(used.latitude, used.longitude) + ", " +
        distance + " away" + (point.grids > 1 ? " (the farthest of its grids' points)" : "") +
        "; grid spacing " + gridSpacingText(used.shape)};
    const double bound = halfGridLengthKm(used.shape);
    if (used.distanceKm > bound) {
        std::snprintf(distance, sizeof distance, "%.1f km", bound);
        notes.push_back("that grid point is farther from " + place.name +
                        " than half a grid length (" + distance + "): the values read there " +
                        "may not stand for " + place.name);
    }
    return notes;
}

}  // namespace

bool readsGribFiles() {
    return true;
}

int runGribExtract(const ExtractRequest& request, const std::optional<ExtractPlace>& place,
                   std::span<const DataFile> inputs, const ExtractFilesWriter& writer,
                   std::ostream& out, std::ostream& err) {
    if (!place) {
        return extractUsageError(err, "GRIB2 files need --point LAT,LON or --station ID");
    }
    std::optional<long long> run;
    if (request.run) {
        long long value = 0;
        if (!readRun(*request.run, value)) {
            return extractUsageError(err, "--run takes the run as YYYYMMDDHH, as 2022062700");
        }
        run = value;
    }
    GribTables grib;
    GribPoint point;
    if (!readRows(request, *place, inputs, run, grib, point, err)) {
        return 1;
    }
    const std::string model = point.model.empty() ? "GRIB2" : point.model;
    ExtractFiles files;
    const std::string stem = gribFileStem(place->fileStem, model, point.run);
    files.columnsName = request.columnsName.value_or(stem + "_columns.txt");
    files.severeName = request.severeName.value_or(stem + "_severe.txt");
    if (const std::optional<int> status =
            refuseSharedOutputName(files.columnsName, files.severeName, err)) {
        return *status;
    }
    if (outputIsAnInput(inputs, files, err)) {
        return 1;
    }
    const ProfileTitle title{model, place->name, placeTitle(place->latitude, place->longitude),
                             runTitle(runTimeOf(point.run)), "FROM GRIB2 OUTPUT"};
    const ProfileTables tables = tablesOf(grib);
    files.columnsText = columnFileText(tables, title, request.step);
    files.severeText = severeFileText(tables, title, request.step);
    const std::size_t rows = grib.rows.size();
    const std::string summary = "Wrote " + files.columnsName + " and " + files.severeName + ": " +
                                std::to_string(rows) + (rows == 1 ? " row" : " rows") +
                                ", forecast hours " + std::to_string(grib.rows.front().hour) +
                                " to " + std::to_string(grib.rows.back().hour) + ".\n";
    std::vector<std::string> notes = gridPointNotes(*place, point);
    notes.insert(notes.end(), grib.notes.begin(), grib.notes.end());
    return finishExtract(ExtractOutput{files, notes, summary}, writer, out, err);
}
