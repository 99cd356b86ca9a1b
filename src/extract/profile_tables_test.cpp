#include "extract/profile_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "extract/extract_command.h"
#include "scan/scan_file.h"
#include "test_support.h"

namespace {

// A block of the given levels: pressure, temperature, height, wind direction and speed.
ProfileBlock blockOf(const std::vector<std::array<double, 5>>& levels) {
    ProfileBlock block;
    for (const auto& level : levels) {
        for (std::size_t c = 0; c < level.size(); ++c) {
            block.levels[c].push_back(level[c]);
        }
    }
    return block;
}

const ProfileBlock threeLevels =
    blockOf({{950, 10, 500, 270, 20}, {850, 4, 1450, 0, 30}, {500, -20, 5600, missingValue, 40}});

TEST(ProfileTables, LevelsBetweenBelowAndAboveTheProfile) {
    struct Case {
        const char* what;
        double p;
        double temperature;
        double height;
        bool belowGround;
    };
    const double lnStep = std::log(950.0 / 900.0) / std::log(950.0 / 850.0);
    // Below the ground: Z = 500 + (287.05 * 283.15 / 9.80665) ln(950/1000), then
    // T = 10 + 0.0065 (500 - Z).
    const double below = 500 + (287.05 * 283.15 / 9.80665) * std::log(0.95);
    const Case cases[] = {
        {"the lowest level itself", 950, 10, 500, false},
        {"a level of the profile", 850, 4, 1450, false},
        {"the top level itself", 500, -20, 5600, false},
        {"between two levels, in ln p", 900, 10 - 6 * lnStep, 500 + 950 * lnStep, false},
        {"below the lowest level", 1000, 10 + 0.0065 * (500 - below), below, true},
        {"above the top level", 400, missingValue, missingValue, false},
    };
    for (const Case& c : cases) {
        bool belowT = !c.belowGround;
        bool belowZ = !c.belowGround;
        EXPECT_NEAR(temperatureAt(threeLevels, c.p, belowT), c.temperature, 1e-9) << c.what;
        EXPECT_NEAR(heightAt(threeLevels, c.p, belowZ), c.height, 1e-9) << c.what;
        EXPECT_EQ(belowT, c.belowGround) << c.what;
        EXPECT_EQ(belowZ, c.belowGround) << c.what;
    }
    // Worked on paper: 1000 mb lies 425.1 m below a 950 mb level at 10 C, 2.76 C warmer.
    bool belowGround = false;
    EXPECT_NEAR(heightAt(threeLevels, 1000, belowGround), 74.88, 0.01);
    EXPECT_NEAR(temperatureAt(threeLevels, 1000, belowGround), 12.76, 0.01);
}

TEST(ProfileTables, WindsAtLevelsFromTheirComponents) {
    bool belowGround = false;
    // Between a west wind of 20 kt and a north wind of 30 kt the components are read.
    const double w = std::log(950.0 / 900.0) / std::log(950.0 / 850.0);
    const double u = 20 * (1 - w);  // from the west: blowing east
    const double v = -30 * w;       // from the north: blowing south
    EXPECT_NEAR(windSpeedAt(threeLevels, 900, belowGround), std::sqrt(u * u + v * v), 1e-9);
    EXPECT_FALSE(belowGround);
    EXPECT_NEAR(windSpeedAt(threeLevels, 850, belowGround), 30, 1e-9);
    EXPECT_EQ(windSpeedAt(threeLevels, 1000, belowGround), missingValue);
    EXPECT_TRUE(belowGround);
    // Beside a missing direction nothing is read.
    EXPECT_EQ(windSpeedAt(threeLevels, 600, belowGround), missingValue);
    EXPECT_FALSE(belowGround);
}

TEST(ProfileTables, SurfaceWindsHumidityAndPotentialTemperature) {
    struct Case {
        double u, v, direction, speed;
    };
    const Case winds[] = {
        {0, 0, 0, 0},                                           // calm
        {0, -5, 0, 5 / 0.514444},                               // from the north
        {-5, 0, 90, 5 / 0.514444},                              // from the east
        {0, 5, 180, 5 / 0.514444},                              // from the south
        {5, 0, 270, 5 / 0.514444},                              // from the west
        {0.04, -5, 0, std::sqrt(0.04 * 0.04 + 25) / 0.514444},  // 359.54 is written north
        // 5 tan(0.5 degrees): exactly 359.5, which "%.0f" writes as 360, is north too.
        {0.04363433895379395, -5, 0,
         std::sqrt(0.04363433895379395 * 0.04363433895379395 + 25) / 0.514444},
        {0.05, -5, std::atan2(-0.05, 5) * 180 / std::numbers::pi + 360,
         std::sqrt(0.05 * 0.05 + 25) / 0.514444},
        {missingValue, 3, missingValue, missingValue},
    };
    for (const Case& c : winds) {
        double direction = -1;
        double speed = -1;
        windFromComponents(c.u, c.v, direction, speed);
        EXPECT_NEAR(direction, c.direction, 1e-9) << c.u << " " << c.v;
        EXPECT_NEAR(speed, c.speed, 1e-9) << c.u << " " << c.v;
    }
    EXPECT_NEAR(relativeHumidity(20, 20), 100, 1e-12);
    // e(10)/e(20) = 12.272/23.369 by the Magnus formula.
    EXPECT_NEAR(relativeHumidity(20, 10), 52.5, 0.05);
    EXPECT_EQ(relativeHumidity(missingValue, 10), missingValue);
    // At 0.995 of 1000 mb, 995 mb lies below the lowest level: its temperature is used.
    EXPECT_NEAR(potentialTemperatureAt(threeLevels, 1000), 283.15 * std::pow(1000 / 995.0, 0.2857),
                1e-9);
    // At 0.995 of 904.5 mb = 900 mb, the temperature between the levels.
    EXPECT_NEAR(potentialTemperatureAt(threeLevels, 904.522613065),
                (10 - 6 * std::log(950.0 / 900.0) / std::log(950.0 / 850.0) + 273.15) *
                    std::pow(1000 / 900.0, 0.2857),
                1e-6);
}

TEST(ProfileTables, ValuesWrittenByPrintfRounding) {
    EXPECT_EQ(formatValue(1007.46, 1, 7), " 1007.5");
    EXPECT_EQ(formatValue(-0.04, 1, 6), "   0.0");  // no minus sign on a zero
    EXPECT_EQ(formatValue(-0.06, 1, 6), "  -0.1");
    EXPECT_EQ(formatValue(missingValue, 2, 7), "  -9999");
    EXPECT_EQ(formatValue(123456.0, 0, 5), " 123456");  // always a blank before
    EXPECT_EQ(formatValue(2.125, 2, 5), " 2.12");       // 2.125 is 2.12499... in binary
}

TEST(ProfileTables, PrecipitationSinceTheRowBefore) {
    // Output every hour, with rain at hour 0 that belongs to no row; rows every 2 hours.
    BufkitProfile profile;
    for (const int hour : {0, 2, 4}) {
        ProfileBlock block = threeLevels;
        block.hour = hour;
        block.validMinute = hour * 60;
        profile.blocks.push_back(block);
    }
    const double p01m[] = {5, 1, 2, missingValue, 0.25};
    for (int hour = 0; hour <= 4; ++hour) {
        SurfaceRow row;
        row.values.fill(1);
        row.validMinute = hour * 60;
        row.values[surfaceP01m] = p01m[hour];
        profile.surface.push_back(row);
    }
    ProfileTables tables;
    std::string fault;
    ASSERT_TRUE(makeProfileTables(profile, 2, tables, fault)) << fault;
    ASSERT_EQ(tables.columns.size(), 2u);
    EXPECT_EQ(tables.columns[0].values[columnPrecip], 3);     // hours 1 and 2
    EXPECT_EQ(tables.columns[1].values[columnPrecip], 0.25);  // hour 3 missing counts 0
    // A row's hour with no surface row is refused, naming the hour.
    profile.surface.erase(profile.surface.begin() + 2);
    EXPECT_FALSE(makeProfileTables(profile, 2, tables, fault));
    EXPECT_EQ(fault, "the surface section has no row for forecast hour 2 (000101/0200)");
}

// Every value of some hours of the two real profiles, worked out apart from this program:
// a short Python script split the profile into words, took each block's levels by the
// counts of SNPARM and the surface rows by the count of their names, and applied the
// formulas (ln p interpolation, the 6.5 K/km step below the lowest level, Magnus humidity,
// the P01M sum since the row before, the largest cloud layer, the 10 m wind, theta at
// 0.995 of the surface pressure, the winds from their components), printing with %.Nf.
struct WorkedHour {
    int hour;
    std::vector<std::string> column;
    std::vector<std::string> severe;
};

void checkWorkedHours(const char* file, int step, const std::vector<WorkedHour>& worked) {
    const std::string text =
        readFile(std::filesystem::path(WXGUIDE_TEST_PRODUCTS_DIR) / "bufkit" / file);
    ASSERT_FALSE(text.empty()) << file;
    ScanFile scan;
    openScanText(scan, text);
    BufkitProfile profile;
    std::string fault;
    ASSERT_TRUE(readBufkitProfile(scan, profile, fault)) << fault;
    ProfileTables tables;
    ASSERT_TRUE(makeProfileTables(profile, step, tables, fault)) << fault;
    static constexpr int columnDecimals[] = {1, 1, 1, 1, 1, 0, 0, 2, 0, 0, 0};
    static constexpr int severeDecimals[] = {1, 1, 0, 0, 1, 0, 0, 0, 0, 0};
    for (const WorkedHour& hour : worked) {
        std::size_t row = 0;
        while (row < tables.columns.size() && tables.columns[row].hour != hour.hour) {
            ++row;
        }
        ASSERT_LT(row, tables.columns.size()) << file << " hour " << hour.hour;
        ASSERT_EQ(tables.severe[row].hour, hour.hour);
        for (std::size_t f = 0; f < columnFieldCount; ++f) {
            EXPECT_EQ(formatValue(tables.columns[row].values[f], columnDecimals[f], 0).substr(1),
                      hour.column[f])
                << file << " hour " << hour.hour << " column field " << f;
        }
        for (std::size_t f = 0; f < severeFieldCount; ++f) {
            EXPECT_EQ(formatValue(tables.severe[row].values[f], severeDecimals[f], 0).substr(1),
                      hour.severe[f])
                << file << " hour " << hour.hour << " severe field " << f;
        }
    }
}

TEST(ProfileTables, GfsProfileAgreesWithTheHandComputation) {
    // Hour 93 sums P01M of 19, 20 and 21 UTC: 0.74 + 0.47 + 0.92 mm; hour 123 is the first
    // of the three-hourly output after 120 h.
    checkWorkedHours(
        "gfs3_kdsm.buf", 3,
        {{3,
          {"1007.5", "7.6", "8.6", "-2.8", "-18.9", "5476", "64", "0.00", "2", "266", "16"},
          {"-9999", "13.8", "0", "0", "283.5", "43", "77", "99", "-9999", "-9999"}},
         {93,
          {"1018.6", "5.2", "-0.4", "-2.2", "-13.9", "5488", "86", "2.13", "100", "92", "22"},
          {"-9999", "20.0", "0", "0", "279.9", "48", "23", "52", "-9999", "-9999"}},
         {123,
          {"1012.9", "0.0", "-1.5", "-7.2", "-24.5", "5361", "93", "0.05", "100", "45", "10"},
          {"-9999", "13.1", "0", "0", "274.9", "14", "6", "4", "-9999", "-9999"}},
         {180,
          {"1012.0", "2.5", "-3.6", "-6.7", "-21.4", "5380", "92", "0.08", "94", "308", "11"},
          {"-9999", "14.3", "0", "0", "277.8", "30", "41", "55", "-9999", "-9999"}}});
}

TEST(ProfileTables, HrrrProfileAgreesWithTheHandComputation) {
    checkWorkedHours(
        "hrrr_kdsm.buf", 3,
        {{3,
          {"1021.4", "4.5", "-0.3", "-5.1", "-22.5", "5392", "70", "0.00", "69", "289", "11"},
          {"-9999", "14.9", "0", "0", "277.9", "21", "89", "118", "-9999", "-9999"}},
         {18,
          {"1029.2", "1.3", "-0.3", "-6.8", "-21.7", "5403", "83", "0.00", "0", "292", "4"},
          {"-9999", "15.3", "0", "0", "279.2", "11", "72", "147", "-9999", "-9999"}}});
}

}  // namespace
