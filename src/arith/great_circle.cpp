#include "arith/great_circle.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace {

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

}  // namespace

double greatCircleKm(double latitude1, double longitude1, double latitude2, double longitude2) {
    // The haversine form stays exact for the few km between a city and its stations,
    // where the cosine form loses digits.
    const double phi1 = radians(latitude1);
    const double phi2 = radians(latitude2);
    const double halfDeltaPhi = (phi2 - phi1) / 2.0;
    const double halfDeltaLambda = radians(longitude2 - longitude1) / 2.0;
    const double h =
        std::sin(halfDeltaPhi) * std::sin(halfDeltaPhi) +
        std::cos(phi1) * std::cos(phi2) * std::sin(halfDeltaLambda) * std::sin(halfDeltaLambda);
    // Rounding may carry h of two antipodes a hair above 1.
    return 2.0 * earthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

std::vector<double> inverseDistanceWeights(std::span<const double> distancesKm) {
    std::vector<double> weights(distancesKm.size(), 0.0);
    const auto atCity = std::find(distancesKm.begin(), distancesKm.end(), 0.0);
    if (atCity != distancesKm.end()) {
        weights[static_cast<std::size_t>(atCity - distancesKm.begin())] = 1.0;
        return weights;
    }
    double sum = 0.0;
    for (const double distance : distancesKm) {
        sum = sum + 1.0 / distance;
    }
    for (std::size_t i = 0; i < distancesKm.size(); ++i) {
        weights[i] = (1.0 / distancesKm[i]) / sum;
    }
    return weights;
}
