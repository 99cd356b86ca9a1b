#include "grib/grib_rows.h"

#include <gtest/gtest.h>

// Fields known by their numbers and surfaces, and the choice between an average and an
// instant value; the readings of real files are in grib_reader_test.cpp.

namespace {

MessageKeys keys(long category, long number, long surface, double value,
                 TimeKind kind = TimeKind::instant) {
    MessageKeys k;
    k.discipline = 0;
    k.category = category;
    k.number = number;
    k.surfaceType = surface;
    k.surfaceValue = value;
    k.kind = kind;
    return k;
}

TEST(GribFields, MatchedByNumberAndSurfaceUnderEitherNumbering) {
    EXPECT_EQ(matchField(keys(7, 192, 1, 0)), fieldLifted);
    EXPECT_EQ(matchField(keys(7, 10, 1, 0)), fieldLifted);
    EXPECT_EQ(matchField(keys(7, 193, 1, 0)), fieldBest4Layer);
    EXPECT_EQ(matchField(keys(7, 11, 1, 0)), fieldBest4Layer);
    EXPECT_EQ(matchField(keys(0, 2, 104, 0.995)), fieldTheta);
    EXPECT_EQ(matchField(keys(0, 2, 104, 1.0)), std::nullopt);
    EXPECT_EQ(matchField(keys(6, 1, 200, 0, TimeKind::average)), fieldCloud);
    EXPECT_EQ(matchField(keys(6, 1, 10, 0)), fieldCloud);
    EXPECT_EQ(matchField(keys(6, 1, 214, 0)), std::nullopt);  // low cloud layer
    EXPECT_EQ(matchField(keys(0, 0, 100, 85000)), fieldTemp850);
    EXPECT_EQ(matchField(keys(0, 0, 100, 92500)), std::nullopt);
    EXPECT_EQ(matchField(keys(1, 8, 1, 0, TimeKind::accumulation)), fieldPrecip);
    EXPECT_EQ(matchField(keys(1, 8, 1, 0)), std::nullopt);
    MessageKeys layer = keys(7, 6, 1, 0);
    EXPECT_EQ(matchField(layer), fieldCape);
    layer.secondSurfaceType = 108;  // 180-0 mb above ground
    EXPECT_EQ(matchField(layer), std::nullopt);
    EXPECT_EQ(timeKindOf(8, 0), TimeKind::average);
    EXPECT_EQ(timeKindOf(8, 1), TimeKind::accumulation);
    EXPECT_EQ(timeKindOf(8, 2), TimeKind::other);
    EXPECT_EQ(timeKindOf(0, -1), TimeKind::instant);
}

TEST(GribRows, AverageEndingAtTheHourBeforeTheInstantAndMaskedIsMissing) {
    const std::vector<GribSample> samples = {
        {fieldCloud, TimeKind::instant, 6, 6, 20.0, false},
        {fieldCloud, TimeKind::average, 0, 6, 55.0, false},
        {fieldCloud, TimeKind::average, 3, 6, 60.0, false},
        {fieldCloud, TimeKind::instant, 3, 3, 10.0, false},
        {fieldLatentHeat, TimeKind::instant, 3, 3, 9999.0, true},
        {fieldU10, TimeKind::instant, 3, 3, 0.0, false},
        {fieldV10, TimeKind::instant, 3, 3, -5.0, false},
        {fieldTemp2m, TimeKind::instant, 3, 3, 273.15, false},
    };
    const GribTables tables = buildGribRows(samples, 3);
    ASSERT_EQ(tables.rows.size(), 2u);
    EXPECT_EQ(tables.rows[0].column[8], 10.0);
    EXPECT_EQ(tables.rows[1].column[8], 60.0);
    EXPECT_EQ(tables.rows[0].severe[8], gribMissing);
    EXPECT_EQ(tables.rows[0].column[1], 0.0);
    EXPECT_DOUBLE_EQ(tables.rows[0].column[9], 0.0);  // from the north
    EXPECT_NEAR(tables.rows[0].column[10], 9.7192, 1e-4);
    EXPECT_EQ(tables.rows[1].column[9], gribMissing);
    EXPECT_EQ(windDirection(5.0, 0.0), 270.0);
    EXPECT_EQ(windDirection(0.0, 0.0), 0.0);
    // Written without decimals, a wind from 359.5 or more reads north as a profile's does:
    // 0, never 360. 5 tan(0.5 degrees) west of north gives exactly 359.5.
    EXPECT_EQ(windDirection(0.04363433895379395, -5.0), 0.0);
    EXPECT_EQ(windDirection(0.04, -5.0), 0.0);
    EXPECT_NEAR(windDirection(0.05, -5.0), 359.427, 1e-3);
}

// Files that lack most fields get one line naming them all, not a line each; the fields
// missing at the same hours are named together.
TEST(GribRows, FieldsMissingAreNamedOnOneLine) {
    const std::vector<GribSample> samples = {
        {fieldPressure, TimeKind::instant, 3, 3, 101325.0, false},
        {fieldPressure, TimeKind::instant, 6, 6, 101325.0, false},
        {fieldTemp2m, TimeKind::instant, 3, 3, 273.15, false},
        {fieldCloud, TimeKind::instant, 3, 3, 10.0, false},
        {fieldPrecip, TimeKind::accumulation, 0, 3, 1.0, false},
        {fieldPrecip, TimeKind::accumulation, 0, 6, 2.0, false},
    };
    const GribTables tables = buildGribRows(samples, 3);
    ASSERT_EQ(tables.rows.size(), 2u);
    ASSERT_EQ(tables.notes.size(), 1u);
    EXPECT_EQ(tables.notes[0],
              "no TMP 2 m and TCDC (hour 6), TMP 850 mb, TMP 700 mb, TMP 500 mb, HGT 1000 mb, "
              "HGT 500 mb, RH 2 m, UGRD 10 m, VGRD 10 m, UGRD 900 mb, VGRD 900 mb, UGRD 500 mb, "
              "VGRD 500 mb, UGRD 250 mb, VGRD 250 mb, 4LFTX, LFTX, CAPE surface, CIN surface, POT "
              "0.995 sigma, LHTFL and SHTFL (every hour) at the point in the files; written as "
              "-9999");
    const std::vector<GribSample> oneHour = {
        {fieldPrecip, TimeKind::accumulation, 0, 3, 1.0, false},
        {fieldPressure, TimeKind::instant, 3, 3, 1e5, false}};
    const GribTables lacking = buildGribRows(oneHour, 3);
    ASSERT_EQ(lacking.notes.size(), 1u);
    EXPECT_EQ(lacking.notes[0].substr(0, 20), "no TMP 2 m, TMP 850 ");
    EXPECT_TRUE(
        lacking.notes[0].ends_with("LHTFL and SHTFL (every hour) at the point in the "
                                   "files; written as -9999"))
        << lacking.notes[0];
}

TEST(GribRows, TwoThousandChainedBucketsGiveEachRowItsHour) {
    // One-hour buckets from hour 100 to 2100, a total over all of them, a masked bucket
    // that must not count, and a bucket joined to none of them.
    std::vector<GribSample> samples;
    double sum = 0.0;
    for (int hour = 100; hour < 2100; ++hour) {
        const double amount = (hour % 7) * 0.25;
        samples.push_back({fieldPrecip, TimeKind::accumulation, hour, hour + 1, amount, false});
        sum += amount;
    }
    samples.push_back({fieldPrecip, TimeKind::accumulation, 100, 2100, sum, false});
    samples.push_back({fieldPrecip, TimeKind::accumulation, 100, 101, 9999.0, true});
    samples.push_back({fieldPrecip, TimeKind::accumulation, 3000, 3006, 2.0, false});
    const GribTables tables = buildGribRows(samples, 1);
    ASSERT_EQ(tables.rows.size(), 2001u);
    for (std::size_t i = 0; i + 1 < tables.rows.size(); ++i) {
        const int hour = 101 + static_cast<int>(i);
        ASSERT_EQ(tables.rows[i].hour, hour);
        ASSERT_EQ(tables.rows[i].column[7], ((hour - 1) % 7) * 0.25) << hour;
    }
    EXPECT_EQ(tables.rows.back().hour, 3006);
    EXPECT_EQ(tables.rows.back().column[7], gribMissing);
    ASSERT_GE(tables.notes.size(), 2u);
    EXPECT_EQ(tables.notes[0],
              "precipitation of hour 101 is for hours 100 to 101, the period the files give for "
              "it");
    EXPECT_EQ(tables.notes[1],
              "precipitation for hours 2100 to 3006 cannot be worked out from the files; written "
              "as -9999");
}

}  // namespace
