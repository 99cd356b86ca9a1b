#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "extract/bufkit_profile.h"
#include "extract/profile_tables.h"

// What both inputs of `wxguide extract` share: the request, the place, the files' titles and
// texts, the notes, and the writer that puts both files in place.

/// What `wxguide extract` was asked for: a BUFKIT profile, or GRIB2 files at a place.
struct ExtractRequest {
    int step = 3;  // every forecast hour that is a multiple of it
    std::optional<std::string> columnsName;
    std::optional<std::string> severeName;
    std::vector<std::string> profiles;
    std::optional<std::string> point;  // --point's words
    std::optional<std::string> station;
    std::optional<std::string> run;  // YYYYMMDDHH
};

/// Where GRIB2 files are read: the place --point or --station gives, the name the titles
/// show for it (the station's id, or POINT), and the place's part of the files' default
/// names (the station's id, or the point as placeFileStem writes it).
struct ExtractPlace {
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive
    std::string name;
    std::string fileStem;
};

/// What the files' titles say of the input.
struct ProfileTitle {
    std::string model;  // GFS, HRRR, ... from the profile's file name
    std::string station;
    std::string place;  // coordinates and elevation
    std::string run;    // RUN 00Z 11 MAR 2021
    std::string source = "FROM A BUFKIT PROFILE";
};

ProfileTitle profileTitle(const BufkitProfile& profile, const std::string& profileName);

/// The titles' run, "RUN 00Z 11 MAR 2021" ("RUN 0030Z ..." off the hour).
std::string runTitle(const ProfileTime& run);

/// The time of a run written YYYYMMDDHH, as GRIB2 files give it.
ProfileTime runTimeOf(long long yyyymmddhh);

/// The titles' place: "41.53N 93.65W".
std::string placeTitle(double latitude, double longitude);

/// A point's part of the files' names: its place as the titles write it, the blank an
/// underscore ("41.53N_93.65W").
std::string placeFileStem(double latitude, double longitude);

/// The last part of a path (after its last folder separator).
std::string baseName(const std::string& name);

/// How the notes name the profile's station: "KDSM (725460)", "station 725460", "station".
std::string noteStation(const ProfileBlock& first);

/// The model column file's text and the severe weather file's text.
std::string columnFileText(const ProfileTables& tables, const ProfileTitle& title, int step);
std::string severeFileText(const ProfileTables& tables, const ProfileTitle& title, int step);

/// One value as the files write it: printf's rounding to `decimals`, -9999 for a missing
/// value (and for one that is no finite number), no minus sign on a zero, right-aligned in
/// `width` with a blank before it always. Never cut, however long.
std::string formatValue(double value, int decimals, int width);

/// What one file's notes tell the forecaster: the fields the input never gives, and the
/// levels that lie below the ground in some rows.
struct FileNotes {
    std::string fileName;
    std::vector<std::string> missingFields;  // as the notes name them
    std::vector<std::string> levelsBelow;    // "1000 mb in 60 of 60 hours"
    std::string station;                     // "KDSM (725460)", "station 725460"
    std::string belowGroundMeaning;          // what the file holds at such a level
};

/// The notes' lines, without "wxguide extract: " before and ".\n" after: none, one or two.
std::vector<std::string> noteLines(const FileNotes& notes);

/// "A", "A and B", "A, B and C".
std::string joinNames(const std::vector<std::string>& names);

/// Both files of one extract, ready to be put in place.
struct ExtractFiles {
    std::string columnsName;
    std::string columnsText;
    std::string severeName;
    std::string severeText;
};

/// Puts both files in place, each whole; both are begun before either is committed, so that
/// a name that cannot be written leaves both as they were. False when a fault was told.
bool writeExtractFiles(const ExtractFiles& files, std::ostream& err);

/// What puts the files in place: writeExtractFiles, or a test's stand-in.
using ExtractFilesWriter = std::function<bool(const ExtractFiles&, std::ostream&)>;

/// What one extract writes and tells once its rows are made.
struct ExtractOutput {
    ExtractFiles files;
    std::vector<std::string> notes;  // each told as "wxguide extract: NOTE.", after the files
    std::string summary;             // the line on standard output
};

/// Puts the files in place through `writer`, then tells the notes on `err` and the summary
/// on `out`. Returns the exit status: 0, or 1 when a file or standard output failed.
int finishExtract(const ExtractOutput& output, const ExtractFilesWriter& writer, std::ostream& out,
                  std::ostream& err);

/// The usage error's exit status, told on `err`, when both files would get one name.
std::optional<int> refuseSharedOutputName(const std::string& columnsName,
                                          const std::string& severeName, std::ostream& err);

/// Tells a usage error of extract on `err`; returns its exit status, 2.
int extractUsageError(std::ostream& err, const std::string& problem);
