#include "arith/station_weights.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(StationWeights, EqualStationsGiveTheValueTimesTheUnnormalisedSum) {
    const double weighted = stationWeightedValue({50, 50, 50, 50});
    EXPECT_NEAR(weighted, 50.0002073, 1e-12);
    std::ostringstream printed;
    printed << weighted;
    EXPECT_EQ(printed.str(), "50.0002");
}

TEST(StationWeights, EachStationCarriesItsOwnWeight) {
    EXPECT_EQ(stationWeightedValue({1, 0, 0, 0}), 0.353460408);
    EXPECT_EQ(stationWeightedValue({0, 1, 0, 0}), 0.1793834);
    EXPECT_EQ(stationWeightedValue({0, 0, 1, 0}), 0.215645378);
    EXPECT_EQ(stationWeightedValue({0, 0, 0, 1}), 0.25151496);
}

TEST(StationWeights, SumsProductsLeftToRight) {
    const StationValues values = {35, 1, 35, 1};
    const double expected =
        ((35 * 0.353460408 + 1 * 0.1793834) + 35 * 0.215645378) + 1 * 0.25151496;
    EXPECT_EQ(stationWeightedValue(values), expected);
    EXPECT_NEAR(stationWeightedValue(values), 20.3496, 1e-4);
}

TEST(StationWeights, BelowZeroTemperaturesWeightLikeAnyOther) {
    EXPECT_EQ(stationWeightedValue({-10, -10, -10, -10}), -stationWeightedValue({10, 10, 10, 10}));
}

TEST(ModelBlend, RatioOneOrZeroSelectsOneModel) {
    const ModelStationValues values = {30, 31, 32, 33, 40, 41, 42, 43};
    EXPECT_EQ(blendedStationValue(1.0, 0.0, values), stationWeightedValue({30, 31, 32, 33}));
    EXPECT_EQ(blendedStationValue(0.0, 1.0, values), stationWeightedValue({40, 41, 42, 43}));
}

TEST(ModelBlend, MixesTheTwoWeightedModels) {
    const ModelStationValues values = {30, 31, 32, 33, 40, 41, 42, 43};
    const double eta = stationWeightedValue({30, 31, 32, 33});
    const double avn = stationWeightedValue({40, 41, 42, 43});
    EXPECT_EQ(blendedStationValue(0.6, 1.0 - 0.6, values), 0.6 * eta + (1.0 - 0.6) * avn);
}

TEST(ModelBlend, RatioOutsideZeroToOneExtrapolates) {
    const ModelStationValues values = {10, 10, 10, 10, 20, 20, 20, 20};
    const double eta = stationWeightedValue({10, 10, 10, 10});
    const double avn = stationWeightedValue({20, 20, 20, 20});
    EXPECT_EQ(blendedStationValue(1.5, -0.5, values), 1.5 * eta + -0.5 * avn);
    EXPECT_LT(blendedStationValue(1.5, -0.5, values), eta);
}

TEST(ModelBlend, WindDirectionsAcrossNorthBlendOnTheCircle) {
    struct Case {
        ModelStationDecimals directions;
        double etaRatio;
        double expected;
    };
    const auto plain = [](const ModelStationDecimals& d, double eta) {
        return blendedStationValue(eta, 1.0 - eta, d);
    };
    const ModelStationDecimals nearNorth = {35, 1, 35, 1, 35, 1, 35, 1};
    const ModelStationDecimals shifted = {35, 37, 35, 37, 35, 37, 35, 37};
    const ModelStationDecimals mostlyEast = {1, 1, 35, 1, 1, 1, 35, 1};
    const ModelStationDecimals mostlyEastShifted = {37, 37, 35, 37, 37, 37, 35, 37};
    const ModelStationDecimals halfCircle = {0, 18, 0, 18, 0, 18, 0, 18};
    const ModelStationDecimals outside = {35, 1, 35, 1, 35, 1, 35, 99};
    // Each model on its own side of north: neither crosses it alone, the two together do.
    const ModelStationDecimals eitherSide = {35, 35, 34, 35, 1, 2, 1, 1};
    const ModelStationDecimals eitherSideShifted = {35, 35, 34, 35, 37, 38, 37, 37};
    const Case cases[] = {
        {eitherSide, 0.6, plain(eitherSideShifted, 0.6)},
        {eitherSide, 0.2, plain(eitherSideShifted, 0.2) - 36.0},
        {nearNorth, 0.6, plain(shifted, 0.6)},                    // 35.86, not 20.35
        {mostlyEast, 0.3, plain(mostlyEastShifted, 0.3) - 36.0},  // past 36 comes round
        {halfCircle, 0.6, plain(halfCircle, 0.6)},                // 18 apart: as before
        {outside, 0.6, plain(outside, 0.6)},                      // 99 is no direction
    };
    const ModelStationDecimals windy = {10, 10, 10, 10, 10, 10, 10, 10};
    for (const Case& c : cases) {
        EXPECT_EQ(blendedWindDirection(c.etaRatio, 1.0 - c.etaRatio, c.directions, windy),
                  c.expected);
    }
    EXPECT_NEAR(blendedWindDirection(0.6, 0.4, nearNorth, windy), 35.86, 0.005);
}

// Worked by hand: the weights of the four stations are w = 0.353460408, 0.1793834,
// 0.215645378, 0.25151496 (sum 1.000004146); a direction counts when its station weight
// times its model's ratio is above 0 and its speed is not 0.
TEST(ModelBlend, OnlyWeightedWindyDirectionsCount) {
    struct Case {
        ModelStationDecimals directions;
        ModelStationDecimals speeds;
        double etaRatio;
        double expected;
    };
    const ModelStationDecimals windy = {10, 10, 10, 10, 10, 10, 10, 10};
    const ModelStationDecimals calmFirst = {0, 10, 10, 10, 0, 10, 10, 10};
    const ModelStationDecimals allCalm = {0, 0, 0, 0, 0, 0, 0, 0};
    const Case cases[] = {
        // The AVN group has no weight: (10 w0 + 20 w1 + 10 w2 + 20 w3) / sum w = 14.3090...
        // and 30 is not across north of 10.
        {{10, 20, 10, 20, 30, 30, 30, 30}, windy, 1.0, 14.309025060 / 1.000004146},
        // The ETA group has no weight: the AVN group's mean alone.
        {{30, 30, 30, 30, 10, 20, 10, 20}, windy, 0.0, 14.309025060 / 1.000004146},
        // A calm station (00 at 00 knots) leaves three at 09.
        {{0, 9, 9, 9, 0, 9, 9, 9}, calmFirst, 0.5, 9.0},
        // Only the directions that count decide across north: 35 and 1 are, 10 is calm.
        {{35, 1, 10, 10, 35, 1, 10, 10},
         {10, 10, 0, 0, 10, 10, 0, 0},
         0.5,
         (0.353460408 * 0.5 * 35 + 0.1793834 * 0.5 * 37 + 0.353460408 * 0.5 * 35 +
          0.1793834 * 0.5 * 37) /
             (0.353460408 + 0.1793834)},
        // Every hour calm: no direction.
        {{9, 9, 9, 9, 9, 9, 9, 9}, allCalm, 0.5, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(blendedWindDirection(c.etaRatio, 1.0 - c.etaRatio, c.directions, c.speeds),
                    c.expected, 1e-9);
    }
    // Across north past 36 comes round: 35 and 37 (1) with ETA alone.
    EXPECT_NEAR(
        blendedWindDirection(1.0, 0.0, {1, 1, 1, 35, 20, 20, 20, 20}, windy),
        (0.353460408 * 37 + 0.1793834 * 37 + 0.215645378 * 37 + 0.25151496 * 35) / 1.000004146 -
            36.0,
        1e-9);
}

// A set of two stations weighed 0.25 and 0.75, so that every result is exact. Each row gives
// both models the same two directions; when the AVN hours are calm, only the ETA ones count
// and their weighted mean comes out the same.
TEST(ModelBlend, TheEdgesOfTheRuleAcrossNorth) {
    const double weights[] = {0.25, 0.75};
    struct Case {
        double first;
        double second;
        double expected;
    };
    const Case cases[] = {
        {1, 19, 14.5},    // 18 apart: plain numbers
        {0, 18, 13.5},    // 18 apart from north itself
        {0, 20, 24},      // 20 apart, the lowest at 0: 0 counts as 36
        {17, 36, 4.25},   // 19 apart, the highest at 36: 17 counts as 53, less 36
        {0, 36, 0},       // all at north: exactly 36 comes round to 0
        {18, 35, 30.75},  // 17 apart: plain numbers
        {-1, 35, 26},     // below 0 is no direction: plain numbers
        {1, 37, 28},      // above 36 is no direction: plain numbers
    };
    const ModelSetValues windy = {{10, 10}, {10, 10}};
    const ModelSetValues avnCalm = {{10, 10}, {0, 0}};
    for (const Case& c : cases) {
        const ModelSetValues directions = {{c.first, c.second}, {c.first, c.second}};
        EXPECT_EQ(blendedSetWindDirection(0.5, 0.5, weights, directions, windy), c.expected)
            << c.first << " and " << c.second << ", all counting";
        EXPECT_EQ(blendedSetWindDirection(0.5, 0.5, weights, directions, avnCalm), c.expected)
            << c.first << " and " << c.second << ", the ETA hours alone";
    }
    // 18 itself stays 18 while others lie either side of north: 0 (36), 18 and 35.
    const ModelSetValues spread = {{0, 18}, {35, 18}};
    EXPECT_EQ(blendedSetWindDirection(0.5, 0.5, weights, spread, windy),
              0.5 * (0.25 * 36 + 0.75 * 18) + 0.5 * (0.25 * 35 + 0.75 * 18));
    // A station of weight 0 does not count, nor does it decide across north: the mean of
    // the other's 30s, not the weighted sum of all four.
    const double unevenWeights[] = {0, 0.5};
    const ModelSetValues oneCounts = {{5, 30}, {5, 30}};
    EXPECT_EQ(blendedSetWindDirection(0.5, 0.5, unevenWeights, oneCounts, windy), 30);
    // Some count: the weighted mean, not the sum.
    EXPECT_EQ(blendedSetWindDirection(1.0, 0.0, unevenWeights, oneCounts, windy), 30);
    // None count: every hour calm, or every weight 0.
    const ModelSetValues calm = {{0, 0}, {0, 0}};
    EXPECT_EQ(blendedSetWindDirection(0.5, 0.5, weights, oneCounts, calm), 0);
    const double noWeights[] = {0, 0};
    EXPECT_EQ(blendedSetWindDirection(0.5, 0.5, noWeights, oneCounts, windy), 0);
}
