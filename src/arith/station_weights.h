#pragma once

#include <array>
#include <cstdint>

/// The fixed weight of each station, in station order (KBKX, KHON, KMHE, KFSD).
/// They sum to 1.000004146 and are used as they stand, never normalised.
inline constexpr std::array<double, 4> StationWeights = {0.353460408, 0.1793834, 0.215645378,
                                                         0.25151496};

/// One element's values at the four stations, in station order.
using StationValues = std::array<std::int32_t, 4>;

/// One element's values: positions 0-3 the ETA model's stations, 4-7 the AVN model's.
using ModelStationValues = std::array<std::int32_t, 8>;

/// The same for values that need not be whole (an NBS cloud value is SKY / 10.0).
using ModelStationDecimals = std::array<double, 8>;

/// The weighted sum of one model's four station values.
double stationWeightedValue(const StationValues& values);

/// The ETA quartet weighted times etaRatio plus the AVN quartet weighted times avnRatio.
/// The ratios are used unchecked: outside 0..1 the result extrapolates.
double blendedStationValue(double etaRatio, double avnRatio, const ModelStationValues& values);
double blendedStationValue(double etaRatio, double avnRatio, const ModelStationDecimals& values);

/// Wind directions in tens of degrees (0 to 36) blended as blendedStationValue does, but
/// across north: when all eight lie from 0 to 36 and differ by more than half the circle,
/// each below 18 counts 36 more and a result of 36 or more has 36 taken off. Any other
/// set blends as plain numbers.
double blendedWindDirection(double etaRatio, double avnRatio, ModelStationDecimals directions);
