#include "extract/extract_command.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "io/data_file.h"
#include "io/option_word.h"
#ifdef WXGUIDE_HAVE_GRIB
#include "grib/grib_reader.h"
#endif
#include "io/platform.h"
#include "io/report_file.h"
#include "scan/scan_file.h"
#include "stations/set_options.h"
#include "stations/stations_command.h"

namespace {

int usageError(std::ostream& err, const std::string& problem) {
    return writeUsageError(err, "extract", problem);
}

// The profile's name without ".buf", which both files are named after by default.
std::string profileStem(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.ends_with(".buf") && name.size() > 4 ? name.substr(0, name.size() - 4) : name;
}

std::string baseName(const std::string& name) {
    const auto separator = std::find_if(name.rbegin(), name.rend(), isFolderSeparator);
    return name.substr(static_cast<std::size_t>(name.rend() - separator));
}

bool isPlainWord(const std::string& word) {
    return !word.empty() && word.size() <= 12 && word != "FHR" &&
           std::all_of(word.begin(), word.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::string formatNumber(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string joinNames(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += i == 0 ? "" : (i + 1 == names.size() ? " and " : ", ");
        text += names[i];
    }
    return text;
}

std::string rowLine(int hour, std::span<const double> values, std::span<const int> decimals,
                    std::span<const int> widths) {
    char start[32];
    std::snprintf(start, sizeof start, "|  %3d |", hour);
    std::string line = start;
    for (std::size_t i = 0; i < values.size(); ++i) {
        line += formatValue(values[i], decimals[i], widths[i]);
    }
    return line + "\n";
}

std::string hoursLine(const std::vector<int>& hours, int step) {
    if (hours.empty()) {
        return "NO FORECAST HOURS";
    }
    return "FORECAST HOURS " + std::to_string(hours.front()) + " TO " +
           std::to_string(hours.back()) + " EVERY " + std::to_string(step) + " H";
}

std::string titleLines(const char* kind, const ProfileTitle& title, const std::vector<int>& hours,
                       int step) {
    return std::string(kind) + "   " + title.model + "   " + title.station + "   " + title.place +
           "\n" + title.run + "   " + hoursLine(hours, step) + "   " + title.source + "\n";
}

constexpr std::array<const char*, columnFieldCount> columnFieldNames = {
    "sea-level pressure", "2 m temperature", "850 mb temperature", "700 mb temperature",
    "500 mb temperature", "thickness",       "humidity",           "precipitation",
    "cloud cover",        "wind direction",  "wind speed"};
constexpr std::array<const char*, severeFieldCount> severeFieldNames = {
    "best 4-layer lifted index", "lifted index",      "convective inhibition", "convective energy",
    "potential temperature",     "900 mb wind",       "500 mb wind",           "250 mb wind",
    "latent heat flux",          "sensible heat flux"};

// The notes of one file: the fields the profile does not give, and the levels below the
// ground.
void tellNotes(std::ostream& err, const std::string& fileName, std::span<const bool> unavailable,
               std::span<const char* const> fieldNames, std::span<const int> belowGround,
               std::span<const int> levels, std::size_t rows, const std::string& station,
               const char* belowGroundMeaning) {
    std::vector<std::string> missing;
    for (std::size_t i = 0; i < unavailable.size(); ++i) {
        if (unavailable[i]) {
            missing.emplace_back(fieldNames[i]);
        }
    }
    if (!missing.empty()) {
        err << "wxguide extract: " << fileName << ": " << joinNames(missing)
            << (missing.size() == 1 ? " is" : " are")
            << " written as -9999 where the profile does not give "
            << (missing.size() == 1 ? "it" : "them") << "; the model's GRIB2 output gives them.\n";
    }
    std::vector<std::string> levelsBelow;
    for (std::size_t i = 0; i < belowGround.size(); ++i) {
        if (belowGround[i] > 0) {
            levelsBelow.push_back(std::to_string(levels[i]) + " mb in " +
                                  std::to_string(belowGround[i]) + " of " + std::to_string(rows) +
                                  (rows == 1 ? " hour" : " hours"));
        }
    }
    if (!levelsBelow.empty()) {
        err << "wxguide extract: " << fileName << ": at " << station
            << (levelsBelow.size() == 1 ? " this level lies" : " these levels lie")
            << " below the ground: " << joinNames(levelsBelow) << "; " << belowGroundMeaning
            << ".\n";
    }
}

}  // namespace

std::string formatValue(double value, int decimals, int width) {
    std::string text;
    if (isMissing(value)) {
        text = "-9999";
    } else {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        text = buffer;
        if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) {
            text.erase(0, 1);
        }
    }
    const std::size_t padded = static_cast<std::size_t>(width);
    return std::string(text.size() < padded ? padded - text.size() : 1, ' ') + text;
}

ProfileTitle profileTitle(const BufkitProfile& profile, const std::string& profileName) {
    ProfileTitle title;
    // Profiles are named model_station.buf (gfs3_kdsm.buf, hrrr_kdsm.buf).
    const std::string base = baseName(profileName);
    std::string model = base.substr(0, base.find('_'));
    if (model.size() == base.size()) {
        model.clear();
    }
    std::transform(model.begin(), model.end(), model.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    while (!model.empty() && std::isdigit(static_cast<unsigned char>(model.back())) != 0) {
        model.pop_back();
    }
    title.model = isPlainWord(model) ? model : "BUFKIT";
    const ProfileBlock& first = profile.blocks.front();
    title.station = "STATION";
    for (const std::string& word : {first.stationId, first.stationNumber}) {
        if (isPlainWord(word)) {
            title.station += " " + word;
        }
    }
    if (!isMissing(first.latitude) && !isMissing(first.longitude)) {
        title.place =
            formatNumber("%.2f", std::fabs(first.latitude)) + (first.latitude < 0 ? "S " : "N ") +
            formatNumber("%.2f", std::fabs(first.longitude)) + (first.longitude < 0 ? "W" : "E");
    }
    if (!isMissing(first.elevation)) {
        title.place +=
            (title.place.empty() ? "" : " ") + formatNumber("%.0f", first.elevation) + " M";
    }
    static constexpr const char* months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                             "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const ProfileTime run = profileTimeOf(profile.runMinute);
    char text[64];
    if (run.minute == 0) {
        std::snprintf(text, sizeof text, "RUN %02dZ %02d %s %04d", run.hour, run.day,
                      months[run.month - 1], run.year);
    } else {
        std::snprintf(text, sizeof text, "RUN %02d%02dZ %02d %s %04d", run.hour, run.minute,
                      run.day, months[run.month - 1], run.year);
    }
    title.run = text;
    return title;
}

std::string columnFileText(const ProfileTables& tables, const ProfileTitle& title, int step) {
    static constexpr std::array<int, columnFieldCount> decimals = {1, 1, 1, 1, 1, 0, 0, 2, 0, 0, 0};
    static constexpr std::array<int, columnFieldCount> widths = {7, 6, 6, 6, 6, 6, 5, 7, 5, 5, 5};
    std::vector<int> hours;
    for (const ColumnRow& row : tables.columns) {
        hours.push_back(row.hour);
    }
    std::string text = titleLines("MODEL COLUMN FORECAST", title, hours, step);
    text +=
        "PMSL MB  T2M T850 T700 T500 C  THICK 1000-500 MB M  RH %  PCP MM  CLD %  WDIR DEG  "
        "WSPD KT\nFHR\n";
    for (const ColumnRow& row : tables.columns) {
        text += rowLine(row.hour, row.values, decimals, widths);
    }
    return text;
}

std::string severeFileText(const ProfileTables& tables, const ProfileTitle& title, int step) {
    static constexpr std::array<int, severeFieldCount> decimals = {1, 1, 0, 0, 1, 0, 0, 0, 0, 0};
    static constexpr std::array<int, severeFieldCount> widths = {6, 6, 6, 6, 7, 5, 5, 5, 6, 6};
    std::vector<int> hours;
    for (const SevereRow& row : tables.severe) {
        hours.push_back(row.hour);
    }
    std::string text = titleLines("SEVERE WEATHER PARAMETERS", title, hours, step);
    text +=
        "BEST 4-LAYER LI, LI C  CIN CAPE J/KG  THETA K  WIND 900/500/250 MB KT  LATENT "
        "SENSIBLE HEAT W/M2\nFHR\n";
    for (const SevereRow& row : tables.severe) {
        text += rowLine(row.hour, row.values, decimals, widths);
    }
    return text;
}

namespace {

// Puts both files in place, each whole; both are begun before either is committed, so that
// a name that cannot be written leaves both as they were. False when a fault was told.
bool writeExtractFiles(const std::string& columnsName, const std::string& severeName,
                       const ProfileTables& tables, const ProfileTitle& title, int step,
                       std::ostream& err) {
    ReportFile columns(columnsName);
    ReportFile severe(severeName);
    for (const ReportFile* file : {&columns, &severe}) {
        if (file->descriptor < 0) {
            err << "wxguide extract: " << file->reportName
                << (file->nameRefused ? " is not a plain file" : " cannot be written")
                << "; nothing was written.\n";
            return false;
        }
    }
    columns.text << columnFileText(tables, title, step);
    severe.text << severeFileText(tables, title, step);
    if (!commitReport(columns)) {
        err << "wxguide extract: " << columnsName << " could not be written; nothing was.\n";
        return false;
    }
    if (!commitReport(severe)) {
        err << "wxguide extract: " << severeName << " could not be written; " << columnsName
            << " was.\n";
        return false;
    }
    return true;
}

#ifdef WXGUIDE_HAVE_GRIB
// True, with the fault told, when an output name is one of the input files.
bool outputIsAnInput(const std::vector<std::string>& inputs, const std::string& columnsName,
                     const std::string& severeName, std::ostream& err) {
    for (const std::string& input : inputs) {
        DataFileKind kind = DataFileKind::missing;
        const int descriptor = openPlainFile(input, kind);
        if (descriptor < 0) {
            continue;
        }
        for (const std::string& name : {columnsName, severeName}) {
            if (isSameFile(descriptor, input, name)) {
                closeFile(descriptor);
                err << "wxguide extract: " << name << " is the input " << input
                    << "; nothing was written.\n";
                return true;
            }
        }
        closeFile(descriptor);
    }
    return false;
}
#endif

// A GRIB2 file begins with the word GRIB (NOMADS files carry no other header).
bool isGribFile(const std::string& name) {
    // A pipe or a device is no GRIB2 file, and opening one could wait for ever.
    DataFile data;
    char start[4] = {};
    return openPlainDataFile(data, name) &&
           readFileAt(data.descriptor, start, sizeof start, 0) == sizeof start &&
           std::string(start, 4) == "GRIB";
}

int runGribExtract(const ExtractRequest& request, const StationTableSearch& tableSearch,
                   std::ostream& out, std::ostream& err) {
#ifndef WXGUIDE_HAVE_GRIB
    (void)out;
    (void)tableSearch;
    err << "wxguide extract: " << request.profiles.front()
        << ": GRIB2 is not available in this build (no ecCodes); BUFKIT profiles work.\n";
    return 1;
#else
    double latitude = 0.0, longitude = 0.0;
    std::string placeName;
    if (request.station) {
        std::vector<StationPlace> table;
        if (!loadTable(tableSearch, table, err)) {
            return 1;
        }
        const StationPlace* station = findStation(table, *request.station);
        if (station == nullptr) {
            return usageError(err, "no station " + *request.station + " in the station table");
        }
        latitude = station->latitude;
        longitude = station->longitude;
        placeName = station->id;
    } else if (!request.point) {
        return usageError(err, "GRIB2 files need --point LAT,LON or --station ID");
    } else {
        CityPoint place;
        std::string fault;
        if (!readCityPoint(*request.point, place, fault, "--point")) {
            return usageError(err, fault);
        }
        latitude = place.latitude;
        longitude = place.longitude;
        placeName = "POINT";
    }
    std::optional<long long> run;
    if (request.run) {
        long long value = 0;
        const auto [end, error] =
            std::from_chars(request.run->data(), request.run->data() + request.run->size(), value);
        if (request.run->size() != 10 || error != std::errc() ||
            end != request.run->data() + request.run->size()) {
            return usageError(err, "--run takes the run as YYYYMMDDHH, as 2022062700");
        }
        run = value;
    }
    // Each input opened once, a plain file or refused at once: a pipe or a device could
    // keep the run waiting or reading for ever.
    std::vector<DataFile> inputs(request.profiles.size());
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (!openPlainDataFile(inputs[i], request.profiles[i])) {
            err << "wxguide extract: " << request.profiles[i]
                << " cannot be opened as a plain file; nothing was written.\n";
            return 1;
        }
    }
    GribPoint point;
    std::string fault;
    if (!readGribPoint(inputs, latitude, longitude, run, point, fault)) {
        err << "wxguide extract: " << fault << "; nothing was written.\n";
        return 1;
    }
    const GribTables grib = buildGribRows(point.samples, request.step);
    if (grib.rows.empty()) {
        err << "wxguide extract: the files hold no forecast hour that is a multiple of "
            << request.step << " from " << request.step << " on; nothing was written.\n";
        return 1;
    }
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
    std::string stem = placeName;
    if (placeName == "POINT") {
        stem = baseName(request.profiles.front());
        for (const char* ending : {".grib2", ".grb2", ".grib"}) {
            if (stem.size() > std::strlen(ending) && stem.ends_with(ending)) {
                stem.resize(stem.size() - std::strlen(ending));
            }
        }
    }
    const std::string columnsName = request.columnsName.value_or(stem + "_columns.txt");
    const std::string severeName = request.severeName.value_or(stem + "_severe.txt");
    if (columnsName == severeName) {
        return usageError(err, "the column file and the severe file need two names, not " +
                                   columnsName + " twice");
    }
    if (outputIsAnInput(request.profiles, columnsName, severeName, err)) {
        return 1;
    }
    static const char* const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const long long day = point.run / 100;
    char runText[48];
    std::snprintf(runText, sizeof runText, "RUN %02lldZ %02lld %s %04lld", point.run % 100,
                  day % 100, months[(day / 100 % 100 + 11) % 12], day / 10000);
    char placeText[64];
    std::snprintf(placeText, sizeof placeText, "%.2f%c %.2f%c", std::fabs(latitude),
                  latitude < 0 ? 'S' : 'N', std::fabs(longitude), longitude < 0 ? 'W' : 'E');
    ProfileTitle title{"GRIB2", placeName, placeText, runText, "FROM GRIB2 OUTPUT"};
    if (!writeExtractFiles(columnsName, severeName, tables, title, request.step, err)) {
        return 1;
    }
    for (const std::string& note : grib.notes) {
        err << "wxguide extract: " << note << ".\n";
    }
    out << "Wrote " << columnsName << " and " << severeName << ": " << grib.rows.size()
        << " rows, forecast hours " << grib.rows.front().hour << " to " << grib.rows.back().hour
        << ".\n";
    return out.flush() ? 0 : 1;
#endif
}

}  // namespace

int runExtract(const ExtractRequest& request, const StationTableSearch& tableSearch,
               std::ostream& out, std::ostream& err) {
    const std::string& profileName = request.profiles.front();
    if (request.point || request.station || request.run || isGribFile(profileName)) {
        return runGribExtract(request, tableSearch, out, err);
    }
    const std::string columnsName =
        request.columnsName.value_or(profileStem(profileName) + "_columns.txt");
    const std::string severeName =
        request.severeName.value_or(profileStem(profileName) + "_severe.txt");
    if (columnsName == severeName) {
        return usageError(err, "the column file and the severe file need two names, not " +
                                   columnsName + " twice");
    }
    DataFile data;
    if (!openPlainDataFile(data, profileName)) {
        err << "wxguide extract: " << profileName
            << " cannot be opened as a plain file; nothing was written.\n";
        return 1;
    }
    for (const std::string& name : {columnsName, severeName}) {
        if (isSameFile(data.descriptor, profileName, name)) {
            err << "wxguide extract: " << name << " is the profile itself; nothing was written.\n";
            return 1;
        }
    }
    BufkitProfile profile;
    std::string fault;
    ProfileTables tables;
    {
        ScanFile scan;
        openScanFile(scan, data.descriptor);
        const bool read = readBufkitProfile(scan, profile, fault) &&
                          makeProfileTables(profile, request.step, tables, fault);
        closeScanFile(scan);
        if (!read) {
            err << "wxguide extract: " << profileName << ": " << fault
                << "; nothing was written.\n";
            return 1;
        }
    }
    if (tables.columns.empty()) {
        err << "wxguide extract: " << profileName
            << " holds no forecast hour that is a multiple of " << request.step << " from "
            << request.step << " on; nothing was written.\n";
        return 1;
    }
    const ProfileTitle title = profileTitle(profile, profileName);
    if (!writeExtractFiles(columnsName, severeName, tables, title, request.step, err)) {
        return 1;
    }
    const std::size_t rows = tables.columns.size();
    const ProfileBlock& first = profile.blocks.front();
    std::string station = "station";
    if (isPlainWord(first.stationId)) {
        station = first.stationId;
    }
    if (isPlainWord(first.stationNumber)) {
        station += (station == "station" ? " " : " (") + first.stationNumber +
                   (station.starts_with("station") ? "" : ")");
    }
    tellNotes(err, columnsName, tables.columnUnavailable, columnFieldNames,
              tables.columnBelowGround, columnLevels, rows, station,
              "what is read there is extrapolated down from the lowest level");
    tellNotes(err, severeName, tables.severeUnavailable, severeFieldNames, tables.severeBelowGround,
              severeLevels, rows, station, "the wind there is written as -9999");
    if (rows < 48) {
        err << "wxguide extract: only " << rows << (rows == 1 ? " row" : " rows")
            << ": options 2 to 5 read 48, 29, 29 and 15 rows, option 6 reads 29"
            << (request.step > 1 ? "; a smaller --step gives more" : "") << ".\n";
    }
    out << "Wrote " << columnsName << " and " << severeName << ": " << rows
        << (rows == 1 ? " row, forecast hours " : " rows, forecast hours ")
        << tables.columns.front().hour << " to " << tables.columns.back().hour << " every "
        << (request.step == 1 ? std::string("hour") : std::to_string(request.step) + " hours")
        << ".\n";
    return out.flush() ? 0 : 1;
}
