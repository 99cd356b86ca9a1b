#include "verify/scores.h"

#include <gtest/gtest.h>

TEST(Scores, BiasMaeAndBrierPerStationAndPooledWithTheWeights) {
    const auto pair = [](std::size_t station, Variable variable, double forecast, double observed) {
        VerifiedPair made;
        made.station = station;
        made.variable = variable;
        made.forecast = forecast;
        made.observed = observed;
        return made;
    };
    const std::vector<VerifiedPair> pairs = {
        pair(0, Variable::max, 42, 40),   pair(0, Variable::max, 37, 40),
        pair(1, Variable::max, 50, 40),   pair(0, Variable::pop12, 0.8, 1),
        pair(1, Variable::pop12, 0.4, 0),
    };
    const std::vector<double> weights = {0.75, 0.25};
    const auto table = scoreTable(pairs, weights);
    const Score first = scoreOf(table.at({0, GuidanceSource::nbs, Variable::max, 1}));
    EXPECT_EQ(first.n, 2u);
    EXPECT_DOUBLE_EQ(first.bias, -0.5);
    EXPECT_DOUBLE_EQ(first.mae, 2.5);
    const Score pooled = scoreOf(table.at({pooledStation, GuidanceSource::nbs, Variable::max, 1}));
    EXPECT_EQ(pooled.n, 3u);
    // (0.75 * (2 - 3) + 0.25 * 10) / 1.75 and (0.75 * 5 + 0.25 * 10) / 1.75
    EXPECT_DOUBLE_EQ(pooled.bias, 1.75 / 1.75);
    EXPECT_DOUBLE_EQ(pooled.mae, 6.25 / 1.75);
    const Score brier = scoreOf(table.at({pooledStation, GuidanceSource::nbs, Variable::pop12, 1}));
    EXPECT_DOUBLE_EQ(brier.brier, 0.75 * 0.04 + 0.25 * 0.16);
    EXPECT_NEAR(brier.bias, 0.75 * -0.2 + 0.25 * 0.4, 1e-12);
    EXPECT_EQ(scoreOf(ScoreSum{}).n, 0u);
    EXPECT_EQ(scoreOf(ScoreSum{}).mae, 0);
}
