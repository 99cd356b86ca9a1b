#include "arith/wind_direction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

// 5 tan(0.5 degrees): with v = -5 the wind blows from exactly 359.5 degrees, which "%.0f"
// writes as 360 (a few hundred doubles either side give the same 359.5 after the turn of
// 360 is added, whatever the last bits of atan2).
inline constexpr double halfDegreeWestOfNorth = 0.04363433895379395;

TEST(WindDirection, WhatRoundsTo360IsWrittenNorth) {
    const struct {
        double degrees;
        double written;
    } cases[] = {
        {359.5, 0.0},  {std::nextafter(359.5, 0.0), std::nextafter(359.5, 0.0)},
        {359.99, 0.0}, {359.4, 359.4},
        {0.4, 0.4},    {180.0, 180.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(northAsZero(c.degrees), c.written) << c.degrees;
        char text[16];
        std::snprintf(text, sizeof text, "%.0f", northAsZero(c.degrees));
        EXPECT_NE(std::string(text), "360") << c.degrees;
    }
}

TEST(WindDirection, ComponentsGiveTheDirectionTheWindBlowsFrom) {
    EXPECT_EQ(windFromDegrees(0.0, 0.0), 0.0);    // calm
    EXPECT_EQ(windFromDegrees(0.0, -5.0), 0.0);   // from the north
    EXPECT_EQ(windFromDegrees(-5.0, 0.0), 90.0);  // from the east
    EXPECT_EQ(windFromDegrees(0.0, 5.0), 180.0);
    EXPECT_EQ(windFromDegrees(5.0, 0.0), 270.0);
    EXPECT_EQ(windFromDegrees(halfDegreeWestOfNorth, -5.0), 0.0);
    EXPECT_NEAR(windFromDegrees(0.05, -5.0), 359.427, 1e-3);
}
