#include "verify/scores.h"

#include <cmath>

void addPair(ScoreSum& sum, double forecast, double observed, double weight) {
    const double error = forecast - observed;
    ++sum.n;
    sum.weight += weight;
    sum.error += weight * error;
    sum.absoluteError += weight * std::fabs(error);
    sum.squaredError += weight * error * error;
}

Score scoreOf(const ScoreSum& sum) {
    if (sum.n == 0 || sum.weight <= 0) {
        return {sum.n, 0, 0, 0};
    }
    return {sum.n, sum.error / sum.weight, sum.absoluteError / sum.weight,
            sum.squaredError / sum.weight};
}

std::map<ScoreKey, ScoreSum> scoreTable(std::span<const VerifiedPair> pairs,
                                        std::span<const double> weights) {
    std::map<ScoreKey, ScoreSum> table;
    for (const VerifiedPair& pair : pairs) {
        addPair(table[{pair.station, pair.source, pair.variable, pair.leadDay}], pair.forecast,
                pair.observed, 1.0);
        addPair(table[{pooledStation, pair.source, pair.variable, pair.leadDay}], pair.forecast,
                pair.observed, weights[pair.station]);
    }
    return table;
}
