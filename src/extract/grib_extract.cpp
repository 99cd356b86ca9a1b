#include "extract/grib_extract.h"

#include <algorithm>
#include <charconv>
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
              long long& runTaken, std::ostream& err) {
    // Each input a plain file or refused at once: a pipe or a device could keep the run
    // waiting or reading for ever.
    for (const DataFile& input : inputs) {
        if (input.descriptor < 0) {
            err << "wxguide extract: " << input.name << " " << whyNotOpened(input.kind)
                << "; nothing was written.\n";
            return false;
        }
    }
    GribPoint point;
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
    runTaken = point.run;
    return true;
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
    long long runTaken = 0;
    if (!readRows(request, *place, inputs, run, grib, runTaken, err)) {
        return 1;
    }
    ExtractFiles files;
    files.columnsName = request.columnsName.value_or(place->fileStem + "_columns.txt");
    files.severeName = request.severeName.value_or(place->fileStem + "_severe.txt");
    if (const std::optional<int> status =
            refuseSharedOutputName(files.columnsName, files.severeName, err)) {
        return *status;
    }
    if (outputIsAnInput(inputs, files, err)) {
        return 1;
    }
    const ProfileTitle title{"GRIB2", place->name, placeTitle(place->latitude, place->longitude),
                             runTitle(runTimeOf(runTaken)), "FROM GRIB2 OUTPUT"};
    const ProfileTables tables = tablesOf(grib);
    files.columnsText = columnFileText(tables, title, request.step);
    files.severeText = severeFileText(tables, title, request.step);
    const std::string summary = "Wrote " + files.columnsName + " and " + files.severeName + ": " +
                                std::to_string(grib.rows.size()) + " rows, forecast hours " +
                                std::to_string(grib.rows.front().hour) + " to " +
                                std::to_string(grib.rows.back().hour) + ".\n";
    return finishExtract(ExtractOutput{files, grib.notes, summary}, writer, out, err);
}
