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
    const Case cases[] = {
        {nearNorth, 0.6, plain(shifted, 0.6)},                    // 35.86, not 20.35
        {mostlyEast, 0.3, plain(mostlyEastShifted, 0.3) - 36.0},  // past 36 comes round
        {halfCircle, 0.6, plain(halfCircle, 0.6)},                // 18 apart: as before
        {outside, 0.6, plain(outside, 0.6)},                      // 99 is no direction
    };
    for (const Case& c : cases) {
        EXPECT_EQ(blendedWindDirection(c.etaRatio, 1.0 - c.etaRatio, c.directions), c.expected);
    }
    EXPECT_NEAR(blendedWindDirection(0.6, 0.4, nearNorth), 35.86, 0.005);
}
