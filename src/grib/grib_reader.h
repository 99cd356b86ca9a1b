#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "grib/grib_rows.h"

// Reading GRIB2 files with ecCodes: the value of every wanted field at the grid point
// nearest a place. One message is held at a time, whatever the number of files, so the
// memory is that of the largest message plus a few numbers per wanted message.

struct GribPoint {
    std::vector<GribSample> samples;  // of the run taken
    long long run = 0;                // YYYYMMDDHH
};

/// Reads `files` at `latitude`, `longitude` (degrees, north and east positive). `run`
/// (YYYYMMDDHH) names the run to take when the files hold several. False with `fault`,
/// one line naming the file, when a file cannot be read, the place lies outside a grid
/// or more than 1.5 grid lengths from its nearest point, the files hold several runs and
/// `run` names none of them, or two files hold one hour.
bool readGribPoint(std::span<const std::string> files, double latitude, double longitude,
                   std::optional<long long> run, GribPoint& point, std::string& fault);
