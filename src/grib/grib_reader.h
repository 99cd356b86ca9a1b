#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "grib/grib_model.h"
#include "grib/grib_rows.h"
#include "io/data_file.h"

// Reading GRIB2 files with ecCodes: the value of every wanted field at the grid point
// nearest a place. Each message is checked on its own bytes (grib_message_check.h) before
// ecCodes sees it, its grid is bounded before any value is unpacked, and one message is
// held at a time, whatever the number of files.

/// The most grid points a message may declare: the NBM's CONUS grid (2345 x 1597, 3.7
/// million points) with room; GFS 0.25 degree is 1,038,240 and HRRR 1.9 million.
inline constexpr long gribGridPointBound = 4'000'000;

/// The grid point a place is read at: where it lies (degrees, north and east positive,
/// longitude -180 to 180), its distance from the place in km, and its grid.
struct GribGridPoint {
    double latitude = 0.0;
    double longitude = 0.0;
    double distanceKm = 0.0;
    GridShape shape;
};

struct GribPoint {
    std::vector<GribSample> samples;  // of the run taken
    long long run = 0;                // YYYYMMDDHH
    std::string model;  // "GFS", "HRRR", "RAP"; "" when unknown or the files mix models
    // The point the wanted fields are read at; where their grids differ, the farthest.
    std::optional<GribGridPoint> gridPoint;
    std::size_t grids = 0;  // the wanted fields' distinct grids
};

/// Reads `files`, each open on a plain file, at `latitude`, `longitude` (degrees, north
/// and east positive). `run` (YYYYMMDDHH) names the run to take when the files hold
/// several. False with `fault`, one line naming the file, when a file holds no message, a
/// message fails its check or declares a grid over gribGridPointBound (naming the message
/// by its number in the file), a field of one hour is in a file twice, ecCodes cannot read
/// a message, the place lies outside a grid or more than 1.5 grid lengths from its nearest
/// point, the files hold several runs and `run` names none of them, or two files hold one
/// hour. An assertion failing inside ecCodes while it reads goes to the handler set by
/// setGribAssertionHandler.
bool readGribPoint(std::span<const DataFile> files, double latitude, double longitude,
                   std::optional<long long> run, GribPoint& point, std::string& fault);

/// Called when an assertion fails inside ecCodes, with `where` ("FILE: message N") and the
/// library's words; it must not return, since the library would go on past its failed
/// check. The default writes one line on standard error and ends the program with status
/// 1: nothing has been written while the files are read.
using GribAssertionHandler = void (*)(const std::string& where, const char* expression);
void setGribAssertionHandler(GribAssertionHandler handler);
