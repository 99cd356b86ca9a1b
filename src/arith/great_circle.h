#pragma once

#include <span>
#include <vector>

/// The mean earth radius the distances between cities and stations are taken on.
inline constexpr double earthRadiusKm = 6371.0;

/// The great-circle distance in km between two places given in decimal degrees, north and
/// east positive, on a sphere of earthRadiusKm.
double greatCircleKm(double latitude1, double longitude1, double latitude2, double longitude2);

/// Inverse-distance weights, in the order of `distancesKm`: (1/d) over the sum of every 1/d,
/// summed left to right. A station at distance 0 takes the whole weight (the first such
/// station, should two stand at the city).
std::vector<double> inverseDistanceWeights(std::span<const double> distancesKm);
