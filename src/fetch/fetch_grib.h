#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "fetch/run_time.h"
#include "net/download.h"
#include "stations/stations_command.h"

// `wxguide fetch grib`: the GFS 0.25 degree hours option 6 reads, each with only the
// fields `extract` reads: from NOMADS's grib filter in a box around the place (one small
// request an hour), else by byte ranges from the open-data bucket after its .idx. Every
// file is read with ecCodes before it is kept; a rerun fetches only the hours missing.

/// The usage line of the product, for the program's --help.
inline constexpr std::string_view fetchGribUsage =
    "wxguide fetch [-q] [--offline] grib (--station ID | --point LAT,LON) [--run YYYYMMDDHH] "
    "[--hours FIRST-LAST] [--step H] [--folder DIR]";

/// What `wxguide fetch grib` was asked for. Exactly one of `station` and `point` is given.
struct GribFetchRequest {
    std::string station;               // the four-letter id, upper case, looked up in the table
    std::optional<std::string> point;  // --point's words, "41.53,-93.65"
    std::optional<RunTime> run;        // without it, the newest cycle whose last hour is out
    int firstHour = 3;                 // forecast hours firstHour, +step, ... up to lastHour
    int lastHour = 87;
    int step = 3;
    std::string folder = ".";  // the run's folder (gfs.YYYYMMDDHH) is made in it
};

/// What was fetched, for the caller that goes on with the files.
struct GribFetched {
    RunTime run;                     // the run taken
    std::vector<std::string> files;  // FOLDER/gfs.YYYYMMDDHH/gfs.tHHz.pgrb2.0p25.fFFF.grib2
    std::string extractLine;         // the `wxguide extract` command that reads them
    std::string source;              // where the hours came from: hosts, "(cache)", "kept"
};

/// Fetches the hours of `request` through `session` (a session shared by a whole command:
/// its cache, pace and counts), the station table and the sources table found by `search`.
/// Told on `err`: the run taken when it is not the newest, each fault on one line, and the
/// summary (muted as statusLines mutes it); on `out`: the extract line alone. Returns 0 when every
/// hour's file is in place, 1 when an hour could not be fetched (the hours fetched stay) or the
/// build reads no GRIB2, 2 for a station not in the table or a point that is no place. `fetched`
/// holds the run and the files in place, in hour order.
int fetchGrib(const GribFetchRequest& request, DownloadSession& session,
              const StationTableSearch& search, std::ostream& out, std::ostream& err,
              GribFetched& fetched);
