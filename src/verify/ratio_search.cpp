#include "verify/ratio_search.h"

#include <cmath>

namespace {

bool counts(const BlendPair& pair, RatioScore score) {
    const bool temperature = pair.variable == Variable::max || pair.variable == Variable::min;
    return pair.leadDay <= 2 &&
           (score == RatioScore::maxMinMae ? temperature : pair.variable == Variable::pop12);
}

}  // namespace

double pooledBlendScore(std::span<const BlendPair> pairs, std::span<const double> weights,
                        double ratio, RatioScore score) {
    ScoreSum sum;
    for (const BlendPair& pair : pairs) {
        if (counts(pair, score)) {
            const VerifiedPair blend = blendAt(pair, ratio, GuidanceSource::blend);
            addPair(sum, blend.forecast, blend.observed, weights[pair.station]);
        }
    }
    const Score pooled = scoreOf(sum);
    return score == RatioScore::maxMinMae ? pooled.mae : pooled.brier;
}

RatioSearch searchRatio(std::span<const BlendPair> pairs, std::span<const double> weights,
                        RatioScore score) {
    RatioSearch search;
    for (const BlendPair& pair : pairs) {
        search.pairs += counts(pair, score) ? 1 : 0;
    }
    if (search.pairs == 0) {
        return search;
    }
    // From 0.5 outwards, so that of equal scores the one nearest the even blend stays.
    constexpr int half = ratioSteps / 2;
    search.best = pooledBlendScore(pairs, weights, 0.5, score);
    for (int away = 1; away <= half; ++away) {
        for (const int step : {half - away, half + away}) {
            const double ratio = step / static_cast<double>(ratioSteps);
            const double value = pooledBlendScore(pairs, weights, ratio, score);
            if (value < search.best - 1e-12) {
                search.best = value;
                search.ratio = ratio;
            }
        }
    }
    search.even = pooledBlendScore(pairs, weights, 0.5, score);
    search.nbsAlone = pooledBlendScore(pairs, weights, 1.0, score);
    search.mosAlone = pooledBlendScore(pairs, weights, 0.0, score);
    const double total = search.nbsAlone + search.mosAlone;
    search.inverseRatio = total > 0 ? search.mosAlone / total : 0.5;
    return search;
}
