#include "arith/station_weights.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::size_t fixedCount = StationWeights.size();

template <typename Value>
SetValues setValuesOf(const Value* values) {
    SetValues set{};
    for (std::size_t i = 0; i < fixedCount; ++i) {
        set[i] = static_cast<double>(values[i]);
    }
    return set;
}

template <typename Values>
ModelSetValues modelSetValuesOf(const Values& values) {
    return {setValuesOf(values.data()), setValuesOf(values.data() + fixedCount)};
}

}  // namespace

// Products first, then summed left to right: the order fixes the last bit.
double setWeightedValue(std::span<const double> weights, const SetValues& values) {
    double sum = values[0] * weights[0];
    for (std::size_t i = 1; i < weights.size(); ++i) {
        sum = sum + values[i] * weights[i];
    }
    return sum;
}

double blendedSetValue(double etaRatio, double avnRatio, std::span<const double> weights,
                       const ModelSetValues& values) {
    const double eta = setWeightedValue(weights, values.eta);
    const double avn = setWeightedValue(weights, values.avn);
    return etaRatio * eta + avnRatio * avn;
}

namespace {

constexpr double fullCircle = 36.0;
constexpr double halfCircle = 18.0;

}  // namespace

double blendedSetWindDirection(double etaRatio, double avnRatio, std::span<const double> weights,
                               ModelSetValues directions) {
    const std::size_t count = weights.size();
    const auto used = [count](SetValues& model) { return std::span<double>(model.data(), count); };
    const std::span<double> eta = used(directions.eta);
    const std::span<double> avn = used(directions.avn);
    const auto [etaLowest, etaHighest] = std::minmax_element(eta.begin(), eta.end());
    const auto [avnLowest, avnHighest] = std::minmax_element(avn.begin(), avn.end());
    const double lowest = std::min(*etaLowest, *avnLowest);
    const double highest = std::max(*etaHighest, *avnHighest);
    const bool acrossNorth = lowest >= 0 && highest <= fullCircle && highest - lowest > halfCircle;
    if (!acrossNorth) {
        return blendedSetValue(etaRatio, avnRatio, weights, directions);
    }
    for (const std::span<double> model : {eta, avn}) {
        for (double& direction : model) {
            if (direction < halfCircle) {
                direction += fullCircle;
            }
        }
    }
    const double blended = blendedSetValue(etaRatio, avnRatio, weights, directions);
    return blended >= fullCircle ? blended - fullCircle : blended;
}

double stationWeightedValue(const StationValues& values) {
    return setWeightedValue(StationWeights, setValuesOf(values.data()));
}

double blendedStationValue(double etaRatio, double avnRatio, const ModelStationValues& values) {
    return blendedSetValue(etaRatio, avnRatio, StationWeights, modelSetValuesOf(values));
}

double blendedStationValue(double etaRatio, double avnRatio, const ModelStationDecimals& values) {
    return blendedSetValue(etaRatio, avnRatio, StationWeights, modelSetValuesOf(values));
}

double blendedWindDirection(double etaRatio, double avnRatio, ModelStationDecimals directions) {
    return blendedSetWindDirection(etaRatio, avnRatio, StationWeights,
                                   modelSetValuesOf(directions));
}
