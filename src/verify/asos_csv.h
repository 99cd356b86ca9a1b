#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The ASOS archive's CSV (station, valid, then the data asked for, found by name): times
// in UTC, "M" missing, "T" a trace; the 6-hour max/min and precipitation groups are read
// from the METAR's remarks.

struct AsosReport {
    std::int64_t minute = 0;              // the valid time, minutes from the epoch
    std::optional<double> tmpf;           // F
    std::optional<double> p01i;           // inches; a trace is 0
    bool special = false;                 // a SPECI
    std::optional<double> maxSixHourF;    // 1snTTT: the max of the 6 hours before
    std::optional<double> minSixHourF;    // 2snTTT
    std::optional<double> precipSixHour;  // 6RRRR, inches; 6//// is missing
};

/// The hour a report stands for: its valid time plus 10 minutes, cut to the hour (a routine
/// report at 11:53 is the 12 UTC one).
std::int64_t nominalHour(std::int64_t minute);

/// Reads the remarks' 1snTTT, 2snTTT and 6RRRR groups of `metar` into `report`.
void readRemarkGroups(std::string_view metar, AsosReport& report);

/// Reads the whole CSV; false with the fault (no valid column, a time that is not one).
bool readAsosCsv(std::string_view text, std::vector<AsosReport>& reports, std::string& fault);
