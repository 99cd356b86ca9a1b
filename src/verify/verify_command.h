#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "arith/station_set.h"
#include "assemble/calendar_date.h"
#include "stations/station_table.h"
#include "stations/stations_command.h"

// `wxguide verify`: how the NBS, the GFS MOS and their blend did at the set's stations over
// past days, and the ratio that would have done best.

inline constexpr std::string_view verifyUsage =
    "wxguide verify [--days N] [--end MM/DD/YYYY] [--offline] [--csv FILE] [--plot FILE]";

/// Days verified when --days is not given, and the most it takes.
inline constexpr int defaultVerifyDays = 60;
inline constexpr int maxVerifyDays = 400;

struct VerifyRequest {
    int days = defaultVerifyDays;
    std::optional<CalendarDate> end;  // without it, yesterday (UTC)
    bool offline = false;
    std::optional<std::string> csv;
    std::optional<std::string> plot;
    double ratio = 0.5;                 // the blend scored beside the even one
    bool ratioFromEnvironment = false;  // WXGUIDE_RATIO gave it
};

/// The station's offset of local standard time from UTC, in hours: the table's, or else
/// the one its longitude gives (15 degrees an hour).
int standardTimeOffset(const StationPlace& place);

/// Runs the command for `set`, the sources and station tables found by `search`. Returns
/// 0 when every table came and a ratio could be suggested, 1 otherwise.
int runVerify(const VerifyRequest& request, const StationTableSearch& search, const StationSet& set,
              std::ostream& out, std::ostream& err);
