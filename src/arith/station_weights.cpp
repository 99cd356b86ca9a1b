#include "arith/station_weights.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

constexpr std::size_t fixedCount = fixedStations.size();

constexpr std::array<double, fixedCount> fixedWeights = [] {
    std::array<double, fixedCount> weights{};
    for (std::size_t i = 0; i < fixedCount; ++i) {
        weights[i] = fixedStations[i].weight;
    }
    return weights;
}();

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

// Directions from 0 to 36 more than half the circle apart lie either side of north.
bool acrossNorth(double lowest, double highest) {
    return lowest >= 0 && highest <= fullCircle && highest - lowest > halfCircle;
}

// East of north counts a full circle more, so that both sides of north are neighbours.
double aroundNorth(double direction) {
    return direction < halfCircle ? direction + fullCircle : direction;
}

double backOnTheCircle(double direction) {
    return direction >= fullCircle ? direction - fullCircle : direction;
}

// The directions when all of them count: blended as plain numbers, or across north.
double blendedAllDirections(double etaRatio, double avnRatio, std::span<const double> weights,
                            ModelSetValues directions) {
    const std::size_t count = weights.size();
    const auto used = [count](SetValues& model) { return std::span<double>(model.data(), count); };
    const std::span<double> eta = used(directions.eta);
    const std::span<double> avn = used(directions.avn);
    const auto [etaLowest, etaHighest] = std::minmax_element(eta.begin(), eta.end());
    const auto [avnLowest, avnHighest] = std::minmax_element(avn.begin(), avn.end());
    if (!acrossNorth(std::min(*etaLowest, *avnLowest), std::max(*etaHighest, *avnHighest))) {
        return blendedSetValue(etaRatio, avnRatio, weights, directions);
    }
    for (const std::span<double> model : {eta, avn}) {
        for (double& direction : model) {
            direction = aroundNorth(direction);
        }
    }
    return backOnTheCircle(blendedSetValue(etaRatio, avnRatio, weights, directions));
}

}  // namespace

double blendedSetWindDirection(double etaRatio, double avnRatio, std::span<const double> weights,
                               const ModelSetValues& directions, const ModelSetValues& speeds) {
    // Each direction that counts with its weight, ETA first, station by station: the order
    // of the sums.
    std::array<double, 2 * maxSetStations> entering{};
    std::array<double, 2 * maxSetStations> enteringWeights{};
    std::size_t count = 0;
    const auto take = [&](const SetValues& model, const SetValues& modelSpeeds, double ratio) {
        for (std::size_t i = 0; i < weights.size(); ++i) {
            const double weight = weights[i] * ratio;
            if (weight > 0 && modelSpeeds[i] != 0) {
                entering[count] = model[i];
                enteringWeights[count] = weight;
                ++count;
            }
        }
    };
    take(directions.eta, speeds.eta, etaRatio);
    take(directions.avn, speeds.avn, avnRatio);
    if (count == 2 * weights.size()) {
        return blendedAllDirections(etaRatio, avnRatio, weights, directions);
    }
    if (count == 0) {
        return 0;
    }
    const std::span<const double> used(entering.data(), count);
    const auto [lowest, highest] = std::minmax_element(used.begin(), used.end());
    const bool shift = acrossNorth(*lowest, *highest);
    double weighted = 0;
    double total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double direction = shift ? aroundNorth(used[i]) : used[i];
        weighted = weighted + enteringWeights[i] * direction;
        total = total + enteringWeights[i];
    }
    const double mean = weighted / total;
    return shift ? backOnTheCircle(mean) : mean;
}

double stationWeightedValue(const StationValues& values) {
    return setWeightedValue(fixedWeights, setValuesOf(values.data()));
}

double blendedStationValue(double etaRatio, double avnRatio, const ModelStationValues& values) {
    return blendedSetValue(etaRatio, avnRatio, fixedWeights, modelSetValuesOf(values));
}

double blendedStationValue(double etaRatio, double avnRatio, const ModelStationDecimals& values) {
    return blendedSetValue(etaRatio, avnRatio, fixedWeights, modelSetValuesOf(values));
}

double blendedWindDirection(double etaRatio, double avnRatio,
                            const ModelStationDecimals& directions,
                            const ModelStationDecimals& speeds) {
    return blendedSetWindDirection(etaRatio, avnRatio, fixedWeights, modelSetValuesOf(directions),
                                   modelSetValuesOf(speeds));
}
