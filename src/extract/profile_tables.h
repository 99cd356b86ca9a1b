#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "extract/bufkit_profile.h"

// The model column and severe weather rows worked out of a BUFKIT profile: the levels read
// between the profile's levels linearly in the logarithm of pressure, below the lowest
// level by the standard lapse rate.

inline constexpr double dryAirGasConstant = 287.05;  // J/(kg K)
inline constexpr double standardGravity = 9.80665;   // m/s2
inline constexpr double metersPerSecondPerKnot = 0.514444;

/// The columns of the model column file, in its order.
enum ColumnField : std::size_t {
    columnPressure,
    columnTemp2m,
    columnTemp850,
    columnTemp700,
    columnTemp500,
    columnThickness,
    columnHumidity,
    columnPrecip,
    columnCloud,
    columnWindDir,
    columnWindSpeed,
    columnFieldCount
};

/// The columns of the severe weather file, in its order.
enum SevereField : std::size_t {
    severeBest4Layer,
    severeLifted,
    severeInhibition,
    severeEnergy,
    severeTheta,
    severeWind900,
    severeWind500,
    severeWind250,
    severeLatentHeat,
    severeSensibleHeat,
    severeFieldCount
};

struct ColumnRow {
    int hour = 0;
    std::array<double, columnFieldCount> values{};
};

struct SevereRow {
    int hour = 0;
    std::array<double, severeFieldCount> values{};
};

/// Both tables of one profile, and what the forecaster is told about them.
struct ProfileTables {
    std::vector<ColumnRow> columns;
    std::vector<SevereRow> severe;
    /// Fields written as missing somewhere because the profile does not give them.
    std::array<bool, columnFieldCount> columnUnavailable{};
    std::array<bool, severeFieldCount> severeUnavailable{};
    /// Hours in which a level lies below the ground: 1000, 850, 700, 500 mb for the column
    /// file; 900, 500, 250 mb for the severe file.
    std::array<int, 4> columnBelowGround{};
    std::array<int, 3> severeBelowGround{};
};

/// The pressure levels behind those counts.
inline constexpr std::array<int, 4> columnLevels = {1000, 850, 700, 500};
inline constexpr std::array<int, 3> severeLevels = {900, 500, 250};

/// `values` at pressure `p` between the levels `pressures` (falling from the first),
/// linear in ln p; missing outside the levels or beside a missing value.
double interpolateInLogPressure(std::span<const double> pressures, std::span<const double> values,
                                double p);

/// The block's temperature (C) at `p` mb; below the lowest level, from the lowest level by
/// 6.5 K/km over the height that level's temperature gives, and `belowGround` set.
double temperatureAt(const ProfileBlock& block, double p, bool& belowGround);

/// The block's height (m) at `p` mb, below the lowest level by the same hypsometric step.
double heightAt(const ProfileBlock& block, double p, bool& belowGround);

/// The block's wind speed (kt) at `p` mb from its components read between the levels;
/// missing below the lowest level, with `belowGround` set.
double windSpeedAt(const ProfileBlock& block, double p, bool& belowGround);

/// Potential temperature (K) just above the ground: at 0.995 of the surface pressure.
double potentialTemperatureAt(const ProfileBlock& block, double surfacePressure);

/// Relative humidity (%) of temperature and dew point (C).
double relativeHumidity(double temperature, double dewPoint);

/// The direction the wind blows from (degrees, 0 for a calm and for north) and its speed
/// (kt) from its components (m/s).
void windFromComponents(double u, double v, double& direction, double& speed);

/// Both tables at the profile's forecast hours that are multiples of `step`, from `step` on.
/// False with `fault` when a row's hour has no surface row.
bool makeProfileTables(const BufkitProfile& profile, int step, ProfileTables& tables,
                       std::string& fault);
