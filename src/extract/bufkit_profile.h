#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_file.h"

// A BUFKIT point-forecast profile as the NWS BUFKIT servers and the Iowa State archive give
// it: one block per forecast time (station parameters, then the levels from the ground up),
// then a surface section of one row per output time. Every value is found by its name and
// the count of names, never by its line, so wrapped lines, CR LF and LF all read alike.

/// A value the profile marks missing, and what a field nothing can give is written as.
inline constexpr double missingValue = -9999.0;

inline bool isMissing(double value) {
    return value == missingValue;
}

/// Bounds that keep the memory of any file small: real profiles hold some 60 levels and at
/// most a few hundred forecast times.
inline constexpr std::size_t maxProfileLevels = 128;
inline constexpr std::size_t maxProfileBlocks = 1000;
inline constexpr std::size_t maxSurfaceRows = 4000;
inline constexpr std::size_t maxProfileNames = 64;

/// The level columns the tables use, as the profile's column list names them.
enum LevelColumn : std::size_t { levelPres, levelTmpc, levelHght, levelDrct, levelSknt };
inline constexpr std::array<const char*, 5> levelColumnNames = {"PRES", "TMPC", "HGHT", "DRCT",
                                                                "SKNT"};

/// The surface columns the tables use.
enum SurfaceColumn : std::size_t {
    surfacePmsl,
    surfacePres,
    surfaceT2ms,
    surfaceTd2m,
    surfaceP01m,
    surfaceLcld,
    surfaceMcld,
    surfaceHcld,
    surfaceUwnd,
    surfaceVwnd,
    surfaceLhfl,
    surfaceShfl,
};
inline constexpr std::array<const char*, 12> surfaceColumnNames = {
    "PMSL", "PRES", "T2MS", "TD2M", "P01M", "LCLD", "MCLD", "HCLD", "UWND", "VWND", "LHFL", "SHFL"};

/// One forecast time's sounding.
struct ProfileBlock {
    std::string stationId;         // STID; empty in GFS profiles
    std::string stationNumber;     // STNM
    std::int64_t validMinute = 0;  // TIME, in minutes from 2000-01-01 00 UTC
    int hour = 0;                  // STIM
    double latitude = missingValue;
    double longitude = missingValue;
    double elevation = missingValue;
    double liftedIndex = missingValue;  // LIFT
    double cape = missingValue;         // CAPE
    double cins = missingValue;         // CINS
    /// The levels from the lowest up, one vector per LevelColumn; a column the profile
    /// lacks holds missing values.
    std::array<std::vector<double>, 5> levels;
};

/// One output time of the surface section.
struct SurfaceRow {
    std::int64_t validMinute = 0;
    std::array<double, 12> values{};  // per SurfaceColumn; missing when the section lacks it
};

struct BufkitProfile {
    std::vector<ProfileBlock> blocks;  // in forecast-hour order
    std::vector<SurfaceRow> surface;
    std::array<bool, 5> hasLevelColumn{};
    std::array<bool, 12> hasSurfaceColumn{};
    std::int64_t runMinute = 0;  // the first block's TIME less its STIM
};

/// Reads the whole profile from `scan`. False with `fault` saying where (the block, the
/// name) when it is no profile that can be read; nothing is then to be used of `profile`.
bool readBufkitProfile(ScanFile& scan, BufkitProfile& profile, std::string& fault);

/// Minutes from 2000-01-01 00 UTC of a time written YYMMDD/HHMM (years 2000 to 2099); false
/// when `text` is no such time.
bool readProfileTime(std::string_view text, std::int64_t& minute);

/// The calendar date and time of `minute`, as from readProfileTime.
struct ProfileTime {
    int year, month, day, hour, minute;
};
ProfileTime profileTimeOf(std::int64_t minute);
