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

/// The weighted sum of one model's four station values.
double stationWeightedValue(const StationValues& values);

/// The ETA quartet weighted times etaRatio plus the AVN quartet weighted times avnRatio.
/// The ratios are used unchecked: outside 0..1 the result extrapolates.
double blendedStationValue(double etaRatio, double avnRatio, const ModelStationValues& values);
