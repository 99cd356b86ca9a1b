#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "arith/station_set.h"
#include "assemble/calendar_date.h"
#include "stations/stations_command.h"

// `wxguide fetch`: option 1's bulletins of a date, or a model's BUFKIT profile, downloaded
// from the sources table, checked as the commands that read them check them, and written
// whole or not at all.

/// The usage lines of the command, for the program's --help.
inline constexpr std::string_view fetchUsage =
    "wxguide fetch [-q] [--offline] bulletins [--date DATE] [--output FILE]\n"
    "       wxguide fetch [-q] [--offline] profile MODEL STATION [--run YYYYMMDDHH] "
    "[--output FILE]";

/// A model run: its day and its hour in UTC.
struct RunTime {
    CalendarDate date;
    int hour = 0;
    auto operator<=>(const RunTime&) const = default;
};

/// What `wxguide fetch` was asked for.
struct FetchRequest {
    enum class What { bulletins, profile } what = What::bulletins;
    std::optional<CalendarDate> date;   // bulletins: without it, today's or yesterday's
    std::string model;                  // profile: gfs, rap or hrrr
    std::string station;                // profile: the four-letter id, upper case
    std::optional<RunTime> run;         // profile: without it, the newest out
    std::optional<std::string> output;  // without it, standard output or the archive's name
    bool offline = false;               // the cache only
    bool quiet = false;                 // faults only
};

/// Reads "YYYYMMDDHH"; false for any other text or a time the calendar does not have.
bool readRunTime(std::string_view text, RunTime& run);

/// The run written "YYYYMMDDHH".
std::string writeRunTime(const RunTime& run);

/// The run `hours` before `run`.
RunTime hoursBefore(const RunTime& run, int hours);

/// The hour now in UTC, or the one WXGUIDE_NOW gives as YYYYMMDDHH (for the tests).
RunTime hourNow();

/// Runs `wxguide fetch` for the stations of `set`, the sources table found by `search`.
/// Returns the exit status: 0 written, 1 not, 2 when the output is refused as assemble
/// refuses it.
int runFetch(const FetchRequest& request, const StationTableSearch& search, const StationSet& set,
             std::ostream& out, std::ostream& err);
