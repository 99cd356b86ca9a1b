#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "arith/station_set.h"
#include "fetch/run_time.h"
#include "today/today_page.h"

// `wxguide today`: the forecaster's day in one command. Each step is the very command a
// forecaster would type (fetch, extract, run), run in one folder per date; then one page,
// index.html, shows every report of the day.

/// The usage line of the command, for the program's --help.
inline constexpr std::string_view todayUsage =
    "wxguide today [--ratio R] [--station ID] [--at YYYYMMDDHH] [--folder DIR] [--offline]";

/// What `wxguide today` was asked for.
struct TodayRequest {
    std::string ratio;          // option 1's ETA weight, as given (--ratio or WXGUIDE_RATIO)
    std::string station;        // the model station; empty: the set's first
    std::optional<RunTime> at;  // the time the products must be out by; none: now
    std::optional<std::string> folder;  // none: wxguide-YYYY-MM-DD for the day of --at
    bool offline = false;               // the cache only
};

/// Runs one command as the command line would (`words` are what follows "wxguide", with the
/// day's station set, each report's picture and spreadsheets asked for); its status.
using CommandRunner =
    std::function<int(std::span<const std::string> words, std::ostream& out, std::ostream& err)>;

/// Runs the day: bulletins and option 1, the GFS, RAP and HRRR profiles and options 2 to 5,
/// option 6 (on GRIB2 files where this build reads them), then the page. One summary line
/// per step on `out`; on a terminal `progress` shows one line, which step and how far.
/// Returns 0 when every report was written, 1 when a step failed.
int runToday(const TodayRequest& request, const StationSet& set, const CommandRunner& runCommand,
             std::ostream& out, std::ostream* progress);
