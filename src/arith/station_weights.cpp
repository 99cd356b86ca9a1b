#include "arith/station_weights.h"

#include <cstddef>

namespace {

// Products first, then summed left to right: the order fixes the last bit.
double weightedSum(const std::int32_t* values) {
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
