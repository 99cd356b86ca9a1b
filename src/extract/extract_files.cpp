#include "extract/extract_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <span>

#include "io/option_word.h"
#include "io/output_names.h"
#include "io/platform.h"
#include "io/report_file.h"

namespace {

constexpr std::array<const char*, 12> monthNames = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                    "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// printf's text of the arguments, whole however long it comes out.
template <typename... Values>
std::string printed(const char* format, Values... values) {
    const int length = std::snprintf(nullptr, 0, format, values...);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

bool isPlainWord(const std::string& word) {
    return !word.empty() && word.size() <= 12 && word != "FHR" &&
           std::all_of(word.begin(), word.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// The model's name in a profile's file name: model_station.buf (gfs3_kdsm.buf, hrrr_kdsm.buf).
std::string modelOf(const std::string& profileName) {
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
    return isPlainWord(model) ? model : "BUFKIT";
}

std::string rowLine(int hour, std::span<const double> values, std::span<const int> decimals,
                    std::span<const int> widths) {
    std::string line = printed("|  %3d |", hour);
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

// What sets the two files apart: the kind in the title, the line of units, and each
// column's decimals and width.
struct FileLayout {
    const char* kind;
    const char* units;
    std::span<const int> decimals;
    std::span<const int> widths;
};

template <typename Row>
std::string fileText(const FileLayout& layout, const std::vector<Row>& rows,
                     const ProfileTitle& title, int step) {
    std::vector<int> hours;
    for (const Row& row : rows) {
        hours.push_back(row.hour);
    }
    std::string text = titleLines(layout.kind, title, hours, step) + layout.units + "\nFHR\n";
    for (const Row& row : rows) {
        text += rowLine(row.hour, row.values, layout.decimals, layout.widths);
    }
    return text;
}

}  // namespace

std::string baseName(const std::string& name) {
    const auto separator = std::find_if(name.rbegin(), name.rend(), isFolderSeparator);
    return name.substr(static_cast<std::size_t>(name.rend() - separator));
}

std::string formatValue(double value, int decimals, int width) {
    std::string text;
    if (isMissing(value) || !std::isfinite(value)) {
        text = "-9999";
    } else {
        text = printed("%.*f", decimals, value);
        if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) {
            text.erase(0, 1);
        }
    }
    const std::size_t padded = static_cast<std::size_t>(width);
    return std::string(text.size() < padded ? padded - text.size() : 1, ' ') + text;
}

std::string runTitle(const ProfileTime& run) {
    // A month outside 1 to 12 (a hostile GRIB2 date) wraps round rather than reading past
    // the table.
    const char* month = monthNames[static_cast<std::size_t>(((run.month - 1) % 12 + 12) % 12)];
    if (run.minute == 0) {
        return printed("RUN %02dZ %02d %s %04d", run.hour, run.day, month, run.year);
    }
    return printed("RUN %02d%02dZ %02d %s %04d", run.hour, run.minute, run.day, month, run.year);
}

ProfileTime runTimeOf(long long yyyymmddhh) {
    const long long day = yyyymmddhh / 100;
    return ProfileTime{static_cast<int>(day / 10000), static_cast<int>(day / 100 % 100),
                       static_cast<int>(day % 100), static_cast<int>(yyyymmddhh % 100), 0};
}

std::string placeTitle(double latitude, double longitude) {
    return printed("%.2f", std::fabs(latitude)) + (latitude < 0 ? "S " : "N ") +
           printed("%.2f", std::fabs(longitude)) + (longitude < 0 ? "W" : "E");
}

std::string placeFileStem(double latitude, double longitude) {
    std::string stem = placeTitle(latitude, longitude);
    std::replace(stem.begin(), stem.end(), ' ', '_');
    return stem;
}

ProfileTitle profileTitle(const BufkitProfile& profile, const std::string& profileName) {
    ProfileTitle title;
    title.model = modelOf(profileName);
    const ProfileBlock& first = profile.blocks.front();
    title.station = "STATION";
    for (const std::string& word : {first.stationId, first.stationNumber}) {
        if (isPlainWord(word)) {
            title.station += " " + word;
        }
    }
    if (!isMissing(first.latitude) && !isMissing(first.longitude)) {
        title.place = placeTitle(first.latitude, first.longitude);
    }
    if (!isMissing(first.elevation)) {
        title.place += (title.place.empty() ? "" : " ") + printed("%.0f", first.elevation) + " M";
    }
    title.run = runTitle(profileTimeOf(profile.runMinute));
    return title;
}

std::string noteStation(const ProfileBlock& first) {
    std::string station = "station";
    if (isPlainWord(first.stationId)) {
        station = first.stationId;
    }
    if (isPlainWord(first.stationNumber)) {
        station += (station == "station" ? " " : " (") + first.stationNumber +
                   (station.starts_with("station") ? "" : ")");
    }
    return station;
}

std::string columnFileText(const ProfileTables& tables, const ProfileTitle& title, int step) {
    static constexpr std::array<int, columnFieldCount> decimals = {1, 1, 1, 1, 1, 0, 0, 2, 0, 0, 0};
    static constexpr std::array<int, columnFieldCount> widths = {7, 6, 6, 6, 6, 6, 5, 7, 5, 5, 5};
    static constexpr FileLayout layout = {
        "MODEL COLUMN FORECAST",
        "PMSL MB  T2M T850 T700 T500 C  THICK 1000-500 MB M  RH %  PCP MM  CLD %  WDIR DEG  "
        "WSPD KT",
        decimals, widths};
    return fileText(layout, tables.columns, title, step);
}

std::string severeFileText(const ProfileTables& tables, const ProfileTitle& title, int step) {
    static constexpr std::array<int, severeFieldCount> decimals = {1, 1, 0, 0, 1, 0, 0, 0, 0, 0};
    static constexpr std::array<int, severeFieldCount> widths = {6, 6, 6, 6, 7, 5, 5, 5, 6, 6};
    static constexpr FileLayout layout = {
        "SEVERE WEATHER PARAMETERS",
        "BEST 4-LAYER LI, LI C  CIN CAPE J/KG  THETA K  WIND 900/500/250 MB KT  LATENT "
        "SENSIBLE HEAT W/M2",
        decimals, widths};
    return fileText(layout, tables.severe, title, step);
}

std::string joinNames(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += i == 0 ? "" : (i + 1 == names.size() ? " and " : ", ");
        text += names[i];
    }
    return text;
}

std::vector<std::string> noteLines(const FileNotes& notes) {
    std::vector<std::string> lines;
    const std::size_t missing = notes.missingFields.size();
    if (missing > 0) {
        lines.push_back(notes.fileName + ": " + joinNames(notes.missingFields) +
                        (missing == 1 ? " is" : " are") +
                        " written as -9999 where the profile does not give " +
                        (missing == 1 ? "it" : "them") + "; the model's GRIB2 output gives them");
    }
    const std::size_t below = notes.levelsBelow.size();
    if (below > 0) {
        lines.push_back(notes.fileName + ": at " + notes.station +
                        (below == 1 ? " this level lies" : " these levels lie") +
                        " below the ground: " + joinNames(notes.levelsBelow) + "; " +
                        notes.belowGroundMeaning);
    }
    return lines;
}

bool writeExtractFiles(const ExtractFiles& files, std::ostream& err) {
    ReportFile columns(files.columnsName);
    ReportFile severe(files.severeName);
    for (const ReportFile* file : {&columns, &severe}) {
        if (file->descriptor < 0) {
            err << "wxguide extract: " << file->reportName
                << (file->nameRefused ? " is not a plain file"
                                      : " cannot be written" + writeFailureReason(*file))
                << "; nothing was written.\n";
            return false;
        }
    }
    columns.text << files.columnsText;
    severe.text << files.severeText;
    if (!commitReport(columns)) {
        err << "wxguide extract: " << files.columnsName << " could not be written"
            << writeFailureReason(columns) << "; nothing was.\n";
        return false;
    }
    if (!commitReport(severe)) {
        err << "wxguide extract: " << files.severeName << " could not be written"
            << writeFailureReason(severe) << "; " << files.columnsName << " was.\n";
        return false;
    }
    return true;
}

int finishExtract(const ExtractOutput& output, const ExtractFilesWriter& writer, std::ostream& out,
                  std::ostream& err) {
    if (!writer(output.files, err)) {
        return 1;
    }
    for (const std::string& note : output.notes) {
        err << "wxguide extract: " << note << ".\n";
    }
    out << output.summary;
    return out.flush() ? 0 : 1;
}

std::optional<int> refuseSharedOutputName(const std::string& columnsName,
                                          const std::string& severeName, std::ostream& err) {
    // By the file the names denote: ./x.txt and x.txt are one file.
    if (!namesOneFile(columnsName, severeName)) {
        return std::nullopt;
    }
    return extractUsageError(
        err, "the column file and the severe file need two names, not " + columnsName + " twice");
}

int extractUsageError(std::ostream& err, const std::string& problem) {
    return writeUsageError(err, "extract", problem);
}
