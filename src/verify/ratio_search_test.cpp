#include "verify/ratio_search.h"

#include <gtest/gtest.h>

namespace {

BlendPair pair(std::size_t station, Variable variable, int lead, double nbsError, double mosError) {
    BlendPair made;
    made.station = station;
    made.variable = variable;
    made.leadDay = lead;
    made.nbsForecast = 40 + nbsError;
    made.nbsObserved = 40;
    made.mosForecast = 50 + mosError;
    made.mosObserved = 50;
    return made;
}

}  // namespace

TEST(RatioSearch, TheLowestDayOneAndTwoMaeWins) {
    // Errors of +4 (NBS) and -6 (MOS): the blend's error is 10r - 6, 0 at r = 0.6.
    // Day 3 and the PoP do not count.
    const std::vector<BlendPair> pairs = {
        pair(0, Variable::max, 1, 4, -6), pair(1, Variable::min, 2, 4, -6),
        pair(0, Variable::max, 3, -20, 20), pair(0, Variable::pop12, 1, 1, 0)};
    const std::vector<double> weights = {0.5, 0.5};
    const RatioSearch search = searchRatio(pairs, weights, RatioScore::maxMinMae);
    EXPECT_EQ(search.pairs, 2u);
    EXPECT_DOUBLE_EQ(search.ratio, 0.6);
    EXPECT_NEAR(search.best, 0, 1e-12);
    EXPECT_DOUBLE_EQ(search.even, 1);
    EXPECT_DOUBLE_EQ(search.nbsAlone, 4);
    EXPECT_DOUBLE_EQ(search.mosAlone, 6);
    EXPECT_DOUBLE_EQ(search.inverseRatio, 0.6);
}

TEST(RatioSearch, WeightsTieBreaksAndTheBrierScore) {
    // Station 0 (weight 3) wants the NBS alone, station 1 (weight 1) the MOS alone: the MAE
    // is 3 * 2(1 - r) + 1 * 2r over 4, lowest at r = 1.
    const std::vector<double> weights = {3, 1};
    std::vector<BlendPair> pairs = {pair(0, Variable::max, 1, 0, 2),
                                    pair(1, Variable::max, 1, 2, 0)};
    EXPECT_DOUBLE_EQ(searchRatio(pairs, weights, RatioScore::maxMinMae).ratio, 1.0);
    // Equal weights: every r gives 2, and the even blend stays.
    const std::vector<double> even = {1, 1};
    EXPECT_DOUBLE_EQ(searchRatio(pairs, even, RatioScore::maxMinMae).ratio, 0.5);
    // PoP 0.9 (NBS) and 0.5 (MOS) when it rained: (1 - (0.5 + 0.4r))^2, lowest at r = 1.
    BlendPair pop = pair(0, Variable::pop12, 2, 0, 0);
    pop.nbsForecast = 0.9;
    pop.mosForecast = 0.5;
    pop.nbsObserved = pop.mosObserved = 1;
    const RatioSearch brier = searchRatio({&pop, 1}, weights, RatioScore::pop12Brier);
    EXPECT_EQ(brier.pairs, 1u);
    EXPECT_DOUBLE_EQ(brier.ratio, 1.0);
    EXPECT_NEAR(brier.nbsAlone, 0.01, 1e-12);
    EXPECT_NEAR(brier.even, 0.09, 1e-12);
    EXPECT_NEAR(brier.mosAlone, 0.25, 1e-12);
    // No pairs: no suggestion beyond the even blend.
    const RatioSearch none = searchRatio({}, weights, RatioScore::maxMinMae);
    EXPECT_EQ(none.pairs, 0u);
    EXPECT_EQ(none.ratio, 0.5);
}
