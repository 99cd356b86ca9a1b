#include "arith/great_circle.h"

#include <gtest/gtest.h>

#include <vector>

// The four stations of the bundled set, at their places in data/stations.csv.
constexpr double kbkx[] = {44.300002, -96.816666};
constexpr double khon[] = {44.383333, -98.233333};
constexpr double kmhe[] = {43.766665, -98.033331};
constexpr double kfsd[] = {43.583335, -96.750003};

TEST(GreatCircle, DistancesFromTheCityOfTheFourStations) {
    EXPECT_NEAR(greatCircleKm(44.03, -97.22, kbkx[0], kbkx[1]), 44.004, 0.001);
    EXPECT_NEAR(greatCircleKm(44.03, -97.22, khon[0], khon[1]), 89.818, 0.001);
    EXPECT_NEAR(greatCircleKm(44.03, -97.22, kmhe[0], kmhe[1]), 71.443, 0.001);
    EXPECT_NEAR(greatCircleKm(44.03, -97.22, kfsd[0], kfsd[1]), 62.364, 0.001);
    // The same both ways, nothing at the point itself.
    EXPECT_DOUBLE_EQ(greatCircleKm(kfsd[0], kfsd[1], 44.03, -97.22),
                     greatCircleKm(44.03, -97.22, kfsd[0], kfsd[1]));
    EXPECT_EQ(greatCircleKm(kbkx[0], kbkx[1], kbkx[0], kbkx[1]), 0.0);
}

TEST(GreatCircle, LongDistancesAcrossTheDateLineAndToTheAntipode) {
    // A degree of arc is 6371 * pi / 180 = 111.195 km, east and west of 180 alike.
    EXPECT_NEAR(greatCircleKm(0.0, 179.5, 0.0, -179.5), 111.195, 0.001);
    EXPECT_NEAR(greatCircleKm(90.0, 0.0, -90.0, 0.0), 20015.087, 0.001);
    EXPECT_NEAR(greatCircleKm(10.0, 20.0, -10.0, -160.0), 20015.087, 0.001);
}

TEST(InverseDistanceWeights, TheFourStationsFromTheCity) {
    const std::vector<double> distances = {
        greatCircleKm(44.03, -97.22, kbkx[0], kbkx[1]),
        greatCircleKm(44.03, -97.22, khon[0], khon[1]),
        greatCircleKm(44.03, -97.22, kmhe[0], kmhe[1]),
        greatCircleKm(44.03, -97.22, kfsd[0], kfsd[1]),
    };
    const std::vector<double> weights = inverseDistanceWeights(distances);
    ASSERT_EQ(weights.size(), 4U);
    EXPECT_NEAR(weights[0], 0.355, 0.001);
    EXPECT_NEAR(weights[1], 0.175, 0.001);
    EXPECT_NEAR(weights[2], 0.220, 0.001);
    EXPECT_NEAR(weights[3], 0.251, 0.001);
    EXPECT_NEAR(weights[0] + weights[1] + weights[2] + weights[3], 1.0, 1e-12);
}

TEST(InverseDistanceWeights, HalfTheDistanceTwiceTheWeight) {
    const std::vector<double> distances = {10.0, 20.0, 40.0};
    const std::vector<double> weights = inverseDistanceWeights(distances);
    const double sum = (1.0 / 10.0 + 1.0 / 20.0) + 1.0 / 40.0;
    EXPECT_EQ(weights,
              (std::vector<double>{(1.0 / 10.0) / sum, (1.0 / 20.0) / sum, (1.0 / 40.0) / sum}));
    EXPECT_NEAR(weights[0], 4.0 / 7.0, 1e-15);
}

TEST(InverseDistanceWeights, AStationAtTheCityTakesTheWholeWeight) {
    EXPECT_EQ(inverseDistanceWeights(std::vector<double>{12.5, 0.0, 3.0}),
              (std::vector<double>{0.0, 1.0, 0.0}));
    EXPECT_EQ(inverseDistanceWeights(std::vector<double>{0.0, 0.0}),
              (std::vector<double>{1.0, 0.0}));
    EXPECT_EQ(inverseDistanceWeights(std::vector<double>{7.0}), (std::vector<double>{1.0}));
}
