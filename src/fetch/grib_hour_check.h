#pragma once

#include <filesystem>

#include "net/download.h"

// Whether a downloaded GRIB2 file is one whole forecast hour as `extract` reads it: read
// with ecCodes, through the same reader and message checks, before it is kept. The build
// without ecCodes has a twin that takes no file (grib_hour_check_none.cpp).

/// The hour a file must be.
struct GribHourWanted {
    long long run = 0;  // YYYYMMDDHH
    int hour = 0;
    double latitude = 0.0, longitude = 0.0;  // the place the file is read at
};

/// Whole when every field extract reads (at hour 0, those of an instant) is in `file` for
/// the run and hour asked, read at the place; refused with what is wrong otherwise.
BodyCheck checkGribHour(const std::filesystem::path& file, const GribHourWanted& wanted);
