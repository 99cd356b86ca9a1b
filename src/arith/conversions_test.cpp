#include "arith/conversions.h"

#include <gtest/gtest.h>

// Figures a forecaster checks against a conversion table; compared exactly, since
// the reports print them and a change in the last bit can change a printed digit.

TEST(Conversions, PressureInInchesOfMercury) {
    EXPECT_EQ(millibarsToInches(1013.25), 29.92125984158961);
    EXPECT_EQ(millibarsToInches(1000.0), 29.529987507120264);
}

TEST(Conversions, TemperatureInFahrenheitMultipliesThenAdds) {
    EXPECT_EQ(celsiusToFahrenheit(-40.0), -40.0);
    EXPECT_EQ(celsiusToFahrenheit(0.0), 32.0);
    EXPECT_EQ(celsiusToFahrenheit(100.0), 212.0);
    EXPECT_EQ(celsiusToFahrenheit(21.3), 70.34);
}

TEST(Conversions, PrecipitationInInches) {
    EXPECT_EQ(millimetersToInches(25.4), 1.0);
    EXPECT_EQ(millimetersToInches(2.5), 0.0984251968503937);
}

TEST(Conversions, WindSpeedInMilesPerHour) {
    EXPECT_EQ(knotsToMph(10.0), 11.5077945);
    EXPECT_EQ(knotsToMph(15.0), 17.261691749999997);
}

TEST(Conversions, NegativeValuesAreNotClamped) {
    EXPECT_EQ(millimetersToInches(-25.4), -1.0);
    EXPECT_EQ(knotsToMph(-10.0), -11.5077945);
}
