#pragma once

#include <string>

// What a GRIB2 file's grid and its producer say of it: the model that made it (for the
// files' titles and names), the spacing of its points, and how far a place inside the grid
// can lie from its nearest point.

/// The grid types wxguide measures; any other is `other`.
enum class GridKind { latLon, lambert, polarStereographic, mercator, other };

/// A grid's kind and its spacing: in degrees for a latitude-longitude grid, in km for a
/// projected one (east-west `dx`, north-south `dy`); its points along each side.
struct GridShape {
    GridKind kind = GridKind::other;
    double dx = 0.0;
    double dy = 0.0;
    long nx = 0;
    long ny = 0;
};

/// The length of a degree of latitude on the sphere ecCodes measures distances on.
inline constexpr double kmPerDegree = 111.195;

/// The larger of the grid's two spacings in km (a degree of longitude counted as one of
/// latitude), or 0 for a grid wxguide does not measure.
double gridSpacingKm(const GridShape& shape);

/// Half a grid length in km (of the larger spacing): a grid point farther than this from
/// the place is told as far, since the grid may not resolve the place.
double halfGridLengthKm(const GridShape& shape);

/// The spacing as the forecaster reads it: "2.5 deg (278.0 km)", "3.0 km", "3.0 x 2.5 km".
std::string gridSpacingText(const GridShape& shape);

/// The model that made a message of `centre` and `generatingProcess` on a grid of `shape`:
/// "GFS", "HRRR" or "RAP" for NCEP's (centre 7) runs on their own grids, or "" when the
/// message is none of them.
std::string gribModelName(long centre, long generatingProcess, const GridShape& shape);
