#include "extract/bufkit_extract.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "extract/bufkit_profile.h"
#include "extract/profile_tables.h"
#include "extract/value_ranges.h"
#include "io/platform.h"
#include "scan/scan_file.h"

namespace {

constexpr std::array<const char*, columnFieldCount> columnFieldNames = {
    "sea-level pressure", "2 m temperature", "850 mb temperature", "700 mb temperature",
    "500 mb temperature", "thickness",       "humidity",           "precipitation",
    "cloud cover",        "wind direction",  "wind speed"};
constexpr std::array<const char*, severeFieldCount> severeFieldNames = {
    "best 4-layer lifted index", "lifted index",      "convective inhibition", "convective energy",
    "potential temperature",     "900 mb wind",       "500 mb wind",           "250 mb wind",
    "latent heat flux",          "sensible heat flux"};

// The profile's name without ".buf", which both files are named after by default.
std::string profileStem(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.ends_with(".buf") && name.size() > 4 ? name.substr(0, name.size() - 4) : name;
}

// One file's notes: the fields never given, and the levels below the ground in some rows.
template <std::size_t fields, std::size_t levels>
FileNotes fileNotes(const std::string& fileName, const std::array<bool, fields>& unavailable,
                    const std::array<const char*, fields>& names,
                    const std::array<int, levels>& belowGround,
                    const std::array<int, levels>& pressures, std::size_t rows) {
    FileNotes notes;
    notes.fileName = fileName;
    for (std::size_t i = 0; i < fields; ++i) {
        if (unavailable[i]) {
            notes.missingFields.emplace_back(names[i]);
        }
    }
    for (std::size_t i = 0; i < levels; ++i) {
        if (belowGround[i] > 0) {
            notes.levelsBelow.push_back(std::to_string(pressures[i]) + " mb in " +
                                        std::to_string(belowGround[i]) + " of " +
                                        std::to_string(rows) + (rows == 1 ? " hour" : " hours"));
        }
    }
    return notes;
}

// Reads the profile into its tables, its values outside their spans taken as missing with
// a note each. False with the fault told.
bool readTables(const DataFile& data, int step, BufkitProfile& profile, ProfileTables& tables,
                std::vector<std::string>& rangeNotes, std::ostream& err) {
    std::string fault;
    ScanFile scan;
    openScanFile(scan, data.descriptor);
    const bool read = readBufkitProfile(scan, profile, fault) &&
                      screenProfile(profile, rangeNotes, fault) &&
                      makeProfileTables(profile, step, tables, fault);
    closeScanFile(scan);
    if (!read) {
        err << "wxguide extract: " << data.name << ": " << fault << "; nothing was written.\n";
    }
    return read;
}

// The lines told once both files are in place.
std::vector<std::string> profileNotes(const ExtractRequest& request, const ExtractFiles& files,
                                      const BufkitProfile& profile, const ProfileTables& tables,
                                      const std::vector<std::string>& rangeNotes,
                                      const std::string& profileName) {
    std::vector<std::string> notes;
    for (const std::string& note : rangeNotes) {
        notes.push_back(profileName + ": " + note);
    }
    const std::size_t rows = tables.columns.size();
    FileNotes columns = fileNotes(files.columnsName, tables.columnUnavailable, columnFieldNames,
                                  tables.columnBelowGround, columnLevels, rows);
    FileNotes severe = fileNotes(files.severeName, tables.severeUnavailable, severeFieldNames,
                                 tables.severeBelowGround, severeLevels, rows);
    columns.station = severe.station = noteStation(profile.blocks.front());
    columns.belowGroundMeaning = "what is read there is extrapolated down from the lowest level";
    severe.belowGroundMeaning = "the wind there is written as -9999";
    for (const FileNotes& file : {columns, severe}) {
        for (std::string& line : noteLines(file)) {
            notes.push_back(std::move(line));
        }
    }
    if (rows < 48) {
        notes.push_back("only " + std::to_string(rows) + (rows == 1 ? " row" : " rows") +
                        ": options 2 to 5 read 48, 29, 29 and 15 rows, option 6 reads 29" +
                        (request.step > 1 ? "; a smaller --step gives more" : ""));
    }
    return notes;
}

std::string summaryLine(const ExtractFiles& files, const ProfileTables& tables, int step) {
    const std::size_t rows = tables.columns.size();
    return "Wrote " + files.columnsName + " and " + files.severeName + ": " + std::to_string(rows) +
           (rows == 1 ? " row, forecast hours " : " rows, forecast hours ") +
           std::to_string(tables.columns.front().hour) + " to " +
           std::to_string(tables.columns.back().hour) + " every " +
           (step == 1 ? std::string("hour") : std::to_string(step) + " hours") + ".\n";
}

}  // namespace

int runBufkitExtract(const ExtractRequest& request, const DataFile& profile,
                     const ExtractFilesWriter& writer, std::ostream& out, std::ostream& err) {
    const std::string& profileName = profile.name;
    ExtractFiles files;
    files.columnsName = request.columnsName.value_or(profileStem(profileName) + "_columns.txt");
    files.severeName = request.severeName.value_or(profileStem(profileName) + "_severe.txt");
    if (const std::optional<int> status =
            refuseSharedOutputName(files.columnsName, files.severeName, err)) {
        return *status;
    }
    if (profile.descriptor < 0) {
        err << "wxguide extract: " << profileName << " " << whyNotOpened(profile.kind)
            << "; nothing was written.\n";
        return 1;
    }
    for (const std::string& name : {files.columnsName, files.severeName}) {
        if (isSameFile(profile.descriptor, profileName, name)) {
            err << "wxguide extract: " << name << " is the profile itself; nothing was written.\n";
            return 1;
        }
    }
    BufkitProfile read;
    ProfileTables tables;
    std::vector<std::string> rangeNotes;
    if (!readTables(profile, request.step, read, tables, rangeNotes, err)) {
        return 1;
    }
    if (tables.columns.empty()) {
        err << "wxguide extract: " << profileName
            << " holds no forecast hour that is a multiple of " << request.step << " from "
            << request.step << " on; nothing was written.\n";
        return 1;
    }
    const ProfileTitle title = profileTitle(read, profileName);
    files.columnsText = columnFileText(tables, title, request.step);
    files.severeText = severeFileText(tables, title, request.step);
    const ExtractOutput output{files,
                               profileNotes(request, files, read, tables, rangeNotes, profileName),
                               summaryLine(files, tables, request.step)};
    return finishExtract(output, writer, out, err);
}
