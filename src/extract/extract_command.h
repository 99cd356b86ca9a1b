#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "extract/profile_tables.h"
#include "stations/stations_command.h"

// `wxguide extract`: the model column file (options 2 to 5) and the severe weather file
// (option 6) made from a BUFKIT profile.

/// The usage line of the command, for the program's --help.
inline constexpr std::string_view extractUsage =
    "wxguide extract [--step H] [--columns FILE] [--severe FILE] PROFILE\n"
    "       wxguide extract [--step H] [--columns FILE] [--severe FILE] [--run YYYYMMDDHH]\n"
    "               (--point LAT,LON | --station ID) GRIB2-FILE...";

/// What `wxguide extract` was asked for: a BUFKIT profile, or GRIB2 files at a place.
struct ExtractRequest {
    int step = 3;  // every forecast hour that is a multiple of it
    std::optional<std::string> columnsName;
    std::optional<std::string> severeName;
    std::vector<std::string> profiles;
    std::optional<std::string> point;  // --point's words, read when GRIB2 files are read
    std::optional<std::string> station;
    std::optional<std::string> run;  // YYYYMMDDHH
};

/// What the files' titles say of the profile.
struct ProfileTitle {
    std::string model;  // GFS, HRRR, ... from the profile's file name
    std::string station;
    std::string place;  // coordinates and elevation
    std::string run;    // RUN 00Z 11 MAR 2021
    std::string source = "FROM A BUFKIT PROFILE";
};

ProfileTitle profileTitle(const BufkitProfile& profile, const std::string& profileName);

/// The model column file's text and the severe weather file's text.
std::string columnFileText(const ProfileTables& tables, const ProfileTitle& title, int step);
std::string severeFileText(const ProfileTables& tables, const ProfileTitle& title, int step);

/// One value as the files write it: printf's rounding to `decimals`, -9999 for a missing
/// value, no minus sign on a zero, right-aligned in `width`.
std::string formatValue(double value, int decimals, int width);

/// Runs `wxguide extract` as `request` asks, a --station looked up in the table that
/// `tableSearch` finds; the summary on `out`, every message on `err`. Returns 0 when both
/// files were written, 1 when the profile could not be read or a file not written, 2 for
/// a usage error found in the values (a place, a run, the files' names).
int runExtract(const ExtractRequest& request, const StationTableSearch& tableSearch,
               std::ostream& out, std::ostream& err);
