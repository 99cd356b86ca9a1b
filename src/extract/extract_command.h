#pragma once

#include <optional>
#include <ostream>
#include <string_view>

#include "extract/extract_files.h"

// `wxguide extract`: the model column file (options 2 to 5) and the severe weather file
// (option 6) made from a BUFKIT profile or from GRIB2 files at a place.

/// The usage line of the command, for the program's --help.
inline constexpr std::string_view extractUsage =
    "wxguide extract [--step H] [--columns FILE] [--severe FILE] PROFILE\n"
    "       wxguide extract [--step H] [--columns FILE] [--severe FILE] [--run YYYYMMDDHH]\n"
    "               (--point LAT,LON | --station ID) GRIB2-FILE...";

/// Runs `wxguide extract` as `request` asks, GRIB2 files read at `place`: opens every input
/// once, and takes the GRIB2 path when a place or a run is given or the first input begins
/// as a GRIB2 file does. The files go through `writer`; the summary on `out`, every message
/// on `err`. Returns 0 when both files were written, 1 when the input could not be read or
/// a file not written, 2 for a usage error found in the values (a place, a run, the files'
/// names).
int runExtract(const ExtractRequest& request, const std::optional<ExtractPlace>& place,
               std::ostream& out, std::ostream& err,
               const ExtractFilesWriter& writer = writeExtractFiles);
