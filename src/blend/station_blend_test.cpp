#include "blend/station_blend.h"

#include <gtest/gtest.h>

#include "arith/conversions.h"

namespace {

// Element arrays whose every cell tells its station, element and group.
TempPrecipElements tempPrecipOf(int group) {
    TempPrecipElements elements{};
    for (std::size_t station = 0; station < 4; ++station) {
        for (std::size_t k = 0; k < 12; ++k) {
            elements[station][k] = static_cast<std::int32_t>(1000 * group + 100 * station + k);
        }
    }
    return elements;
}

}  // namespace

TEST(StationBlend, DailyTableTakesEachDayFromItsElements) {
    const auto blended = tempPrecipRecords(tempPrecipOf(1), tempPrecipOf(2), 4);
    EXPECT_EQ(blended[5].eta, (SetValues{1005, 1105, 1205, 1305}));
    EXPECT_EQ(blended[5].avn, (SetValues{2005, 2105, 2205, 2305}));
    MrfTempPrecipElements mrf{};
    for (std::size_t station = 0; station < 4; ++station) {
        for (std::size_t j = 0; j < 25; ++j) {
            mrf[station][j] = static_cast<std::int32_t>(100 * station + j);
        }
    }
    const auto extended = mrfTempPrecipRecords(mrf, 4);
    EXPECT_EQ(extended[24], (SetValues{24, 124, 224, 324}));

    const DailyForecastTable daily =
        dailyForecastTable(0.6, 0.4, fixedStationSet().weights, blended, extended);
    const auto b = [&](std::size_t k) {
        return blendedSetValue(0.6, 0.4, fixedStationSet().weights, blended[k]);
    };
    const auto w = [&](std::size_t j) {
        return setWeightedValue(fixedStationSet().weights, extended[j]);
    };
    const std::size_t dayOneAndTwo[2][6] = {{0, 1, 4, 5, 8, 9}, {2, 3, 6, 7, 10, 11}};
    for (std::size_t day = 0; day < 2; ++day) {
        const DailyForecastRow& row = daily[day];
        EXPECT_EQ(row.lowTemp, b(dayOneAndTwo[day][0]));
        EXPECT_EQ(row.highTemp, b(dayOneAndTwo[day][1]));
        EXPECT_EQ(row.lowDpt, b(dayOneAndTwo[day][2]));
        EXPECT_EQ(row.highDpt, b(dayOneAndTwo[day][3]));
        ASSERT_TRUE(row.lowProbPrec.has_value());
        EXPECT_EQ(*row.lowProbPrec, b(dayOneAndTwo[day][4]));
        EXPECT_EQ(row.highProbPrec, b(dayOneAndTwo[day][5]));
    }
    // Day 3 takes the first of each five, day 7 the last.
    EXPECT_EQ(daily[2].lowTemp, w(0));
    EXPECT_EQ(daily[2].highTemp, w(5));
    EXPECT_EQ(daily[2].lowDpt, w(10));
    EXPECT_EQ(daily[2].highDpt, w(15));
    EXPECT_FALSE(daily[2].lowProbPrec.has_value());
    EXPECT_EQ(daily[2].highProbPrec, w(20));
    EXPECT_EQ(daily[6].lowTemp, w(4));
    EXPECT_EQ(daily[6].highDpt, w(19));
    EXPECT_EQ(daily[6].highProbPrec, w(24));
}

TEST(StationBlend, CloudWindTableRunsTwoSpansOfHours) {
    CloudWindElements eta{};
    CloudWindElements avn{};
    MrfCloudWindElements mrf{};
    for (std::size_t station = 0; station < 4; ++station) {
        for (std::size_t k = 0; k < 57; ++k) {
            eta[station][k] = static_cast<std::int32_t>(k);
            avn[station][k] = static_cast<std::int32_t>(100 + k);
        }
        for (std::size_t j = 0; j < 22; ++j) {
            mrf[station][j] = static_cast<std::int32_t>(200 + j);
        }
    }
    const CloudWindTable table =
        cloudWindTable(0.25, 0.75, fixedStationSet().weights, eta, avn, mrf);
    const auto bc = [](std::int32_t k) {
        return blendedStationValue(
            0.25, 0.75, ModelStationValues{k, k, k, k, 100 + k, 100 + k, 100 + k, 100 + k});
    };
    const auto wc = [](std::int32_t j) {
        return stationWeightedValue({200 + j, 200 + j, 200 + j, 200 + j});
    };
    for (std::int32_t r = 0; r < 19; ++r) {
        const CloudWindRow& row = table[static_cast<std::size_t>(r)];
        EXPECT_EQ(row.hour, 6 + 3 * r);
        EXPECT_EQ(row.cloudCover, bc(r) / 10.0);
        ASSERT_TRUE(row.windDirection.has_value());
        EXPECT_EQ(*row.windDirection, bc(19 + r));
        EXPECT_EQ(row.windSpeedMph, knotsToMph(bc(38 + r)));
    }
    for (std::int32_t q = 0; q < 11; ++q) {
        const CloudWindRow& row = table[static_cast<std::size_t>(19 + q)];
        EXPECT_EQ(row.hour, 72 + 12 * q);
        EXPECT_EQ(row.cloudCover, wc(q) / 10.0);
        EXPECT_FALSE(row.windDirection.has_value());
        EXPECT_EQ(row.windSpeedMph, knotsToMph(wc(11 + q)));
    }
}
