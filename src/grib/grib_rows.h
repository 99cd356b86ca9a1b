#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "grib/grib_fields.h"

// The rows of the model column and severe weather files worked out of the values that the
// GRIB2 messages give at one grid point: one row per forecast hour, every value in the
// files' units (mb, C, m, %, mm, %, degrees, kt; K, J/kg, kt, W/m2), -9999 where the files
// do not give it.

inline constexpr double gribMissing = -9999.0;
inline constexpr double kelvinAtZeroCelsius = 273.15;
inline constexpr double knotInMetersPerSecond = 0.514444;

/// One message's value at the point: the field, how it stands in time, the hours it covers
/// (both the forecast hour for an instant) and the value in the message's own units.
struct GribSample {
    GribField field = fieldPressure;
    TimeKind kind = TimeKind::instant;
    int startHour = 0;
    int endHour = 0;
    double value = 0.0;
    bool masked = false;  // the message's bitmap leaves the point out
};

/// The model column file's values of one hour, in its column order.
inline constexpr std::size_t gribColumnCount = 11;
/// The severe weather file's values of one hour, in its column order.
inline constexpr std::size_t gribSevereCount = 10;

struct GribRow {
    int hour = 0;
    std::array<double, gribColumnCount> column{};
    std::array<double, gribSevereCount> severe{};
};

struct GribTables {
    std::vector<GribRow> rows;
    /// Lines for standard error: the period of the first row's precipitation when the
    /// files start after the run's start, the hours written as -9999 and why.
    std::vector<std::string> notes;
};

/// Rows for the forecast hours that the samples reach which are multiples of `step`, from
/// `step` on, in order. Precipitation is the amount since the previous row (since the run's
/// start for the first one), from run totals or from buckets, whichever the samples hold.
GribTables buildGribRows(std::span<const GribSample> samples, int step);

/// Direction the wind blows from, in degrees from 0 to below 359.5 (0 for a calm and for
/// one that rounds to north, as a profile's is), and its speed in knots, of a wind of
/// components `u` (eastward) and `v` (northward) in m/s.
double windDirection(double u, double v);
double windSpeedKnots(double u, double v);
