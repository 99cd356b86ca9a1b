#include "arith/station_weights.h"

#include <algorithm>
#include <cstddef>

namespace {

// Products first, then summed left to right: the order fixes the last bit.
template <typename Value>
double weightedSum(const Value* values) {
    double sum = static_cast<double>(values[0]) * StationWeights[0];
    for (std::size_t i = 1; i < StationWeights.size(); ++i) {
        sum = sum + static_cast<double>(values[i]) * StationWeights[i];
    }
    return sum;
}

}  // namespace

double stationWeightedValue(const StationValues& values) {
    return weightedSum(values.data());
}

double blendedStationValue(double etaRatio, double avnRatio, const ModelStationValues& values) {
    const double eta = weightedSum(values.data());
    const double avn = weightedSum(values.data() + 4);
    return etaRatio * eta + avnRatio * avn;
}

double blendedStationValue(double etaRatio, double avnRatio, const ModelStationDecimals& values) {
    const double eta = weightedSum(values.data());
    const double avn = weightedSum(values.data() + 4);
    return etaRatio * eta + avnRatio * avn;
}

namespace {

constexpr double fullCircle = 36.0;
constexpr double halfCircle = 18.0;

}  // namespace

double blendedWindDirection(double etaRatio, double avnRatio, ModelStationDecimals directions) {
    const auto [lowest, highest] = std::minmax_element(directions.begin(), directions.end());
    const bool acrossNorth =
        *lowest >= 0 && *highest <= fullCircle && *highest - *lowest > halfCircle;
    if (!acrossNorth) {
        return blendedStationValue(etaRatio, avnRatio, directions);
    }
    for (double& direction : directions) {
        if (direction < halfCircle) {
            direction += fullCircle;
        }
    }
    const double blended = blendedStationValue(etaRatio, avnRatio, directions);
    return blended >= fullCircle ? blended - fullCircle : blended;
}
