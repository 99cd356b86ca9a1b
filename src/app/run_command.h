#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "arith/station_set.h"
#include "export/side_files.h"

// `wxguide run`: one menu option on one data file, for scripts and scheduled jobs.

/// The usage line of the command, for the program's --help.
inline constexpr std::string_view runUsage =
    "wxguide run [-q] [--plot] [--csv] OPTION FILE [--ratio R]";

/// What `wxguide run` was asked for.
struct RunRequest {
    int option = 0;                  // the menu option, 1 to 6
    std::string dataName;            // the data file
    std::optional<double> etaRatio;  // option 1's ETA weight, 0 to 1
    bool quiet = false;              // no status lines when all goes well
    SideFiles sideFiles;             // --plot and --csv given after the command
};

/// Runs the words after `run`: the option's run on the file, with no prompt; option 1 blends
/// the stations of `set`. The daily table of option 1 goes to `out`, every message to `err`.
/// The files of `sideFiles` are written beside the report. Returns the exit status: 0 when
/// the report (and each file beside it) was written, 1 when it was not, 2 for a usage error.
int runCommand(std::span<const char* const> arguments, const StationSet& set, std::ostream& out,
               std::ostream& err, const SideFiles& sideFiles = {});
