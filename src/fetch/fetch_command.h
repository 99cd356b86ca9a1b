#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include <vector>

#include "arith/station_set.h"
#include "assemble/calendar_date.h"
#include "fetch/fetch_session.h"
#include "fetch/run_time.h"
#include "stations/stations_command.h"

// `wxguide fetch`: option 1's bulletins of a date, or a model's BUFKIT profile, downloaded
// from the sources table, checked as the commands that read them check them, and written
// whole or not at all.

/// The usage lines of the command, for the program's --help.
inline constexpr std::string_view fetchUsage =
    "wxguide fetch [-q] [--offline] bulletins [--date DATE] [--output FILE]\n"
    "       wxguide fetch [-q] [--offline] profile MODEL STATION [--run YYYYMMDDHH] "
    "[--output FILE]\n"
    "       wxguide fetch [-q] [--offline] grib (--station ID | --point LAT,LON) "
    "[--run YYYYMMDDHH]\n"
    "                     [--hours FIRST-LAST] [--step H] [--folder DIR]";

/// What `wxguide fetch` was asked for.
struct FetchRequest {
    enum class What { bulletins, profile, grib } what = What::bulletins;
    std::optional<CalendarDate> date;  // bulletins: without it, today's or yesterday's
    std::string model;                 // profile: gfs, rap or hrrr
    std::string station;               // profile, grib: the four-letter id, upper case
    std::optional<RunTime> run;        // profile, grib: without it, the newest out
    std::optional<std::string> point;  // grib: --point's words, in the station's place
    std::optional<int> firstHour;      // grib: --hours FIRST-LAST
    std::optional<int> lastHour;
    std::optional<int> step;            // grib: --step
    std::optional<std::string> folder;  // grib: --folder
    std::optional<std::string> output;  // without it, standard output or the archive's name
    bool offline = false;               // the cache only
    bool quiet = false;                 // faults only
};

/// Runs `wxguide fetch` for the stations of `set`, the sources table found by `search`.
/// Returns the exit status: 0 written, 1 not, 2 when the output is refused as assemble
/// refuses it.
int runFetch(const FetchRequest& request, const StationTableSearch& search, const StationSet& set,
             std::ostream& out, std::ostream& err);
