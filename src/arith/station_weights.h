#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "arith/station_set.h"

/// One element's values at the four fixed stations, in station order.
using StationValues = std::array<std::int32_t, 4>;

/// One element's values: positions 0-3 the ETA model's stations, 4-7 the AVN model's.
using ModelStationValues = std::array<std::int32_t, 8>;

/// The same for values that need not be whole (an NBS cloud value is SKY / 10.0).
using ModelStationDecimals = std::array<double, 8>;

/// One element's values at the stations of a set, in set order; a set of fewer than
/// maxSetStations stations leaves the rest unused.
using SetValues = std::array<double, maxSetStations>;

/// One element's values at a set's stations from the ETA and the AVN model.
struct ModelSetValues {
    SetValues eta{};
    SetValues avn{};
};

/// The weighted sum of one model's values at the stations of `weights`, in set order:
/// each value times its weight, the products added from left to right.
double setWeightedValue(std::span<const double> weights, const SetValues& values);

/// The ETA values weighted times etaRatio plus the AVN values weighted times avnRatio.
/// The ratios are used unchecked: outside 0..1 the result extrapolates.
double blendedSetValue(double etaRatio, double avnRatio, std::span<const double> weights,
                       const ModelSetValues& values);

/// Wind directions in tens of degrees (0 to 36) blended as blendedSetValue does, but across
/// north: when the directions that count lie from 0 to 36 and differ by more than half the
/// circle, each below 18 counts 36 more and a result of 36 or more has 36 taken off. A
/// direction counts when its weight (station weight times its model's ratio) is above 0
/// and its hour is not calm (its speed in `speeds` is not 0). When all count, the weighted
/// sum is as blendedSetValue forms it; when only some do, it is their weighted mean, summed
/// ETA first; when none do, 0.
double blendedSetWindDirection(double etaRatio, double avnRatio, std::span<const double> weights,
                               const ModelSetValues& directions, const ModelSetValues& speeds);

/// The weighted sum of one model's values at the four fixed stations, with their weights.
double stationWeightedValue(const StationValues& values);

/// blendedSetValue over the four stations with the fixed weights.
double blendedStationValue(double etaRatio, double avnRatio, const ModelStationValues& values);
double blendedStationValue(double etaRatio, double avnRatio, const ModelStationDecimals& values);

/// blendedSetWindDirection over the four stations with the fixed weights.
double blendedWindDirection(double etaRatio, double avnRatio,
                            const ModelStationDecimals& directions,
                            const ModelStationDecimals& speeds);
