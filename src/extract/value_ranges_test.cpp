#include "extract/value_ranges.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Two blocks (STIM 0 and 3) of two levels and two surface rows, every value in its span.
BufkitProfile saneProfile() {
    BufkitProfile profile;
    for (const int hour : {0, 3}) {
        ProfileBlock& block = profile.blocks.emplace_back();
        block.hour = hour;
        block.latitude = 41.5;
        block.longitude = -93.6;
        block.elevation = 294;
        block.liftedIndex = -4;
        block.cape = 1200;
        block.cins = -50;
        block.levels = {std::vector<double>{960, 500}, {10, -20}, {300, 5600}, {270, 360}, {5, 0}};
    }
    for (const std::int64_t minute : {0, 180}) {
        SurfaceRow& row = profile.surface.emplace_back();
        row.validMinute = minute;
        row.values = {1001, 967, 17, 6.5, 0.25, 0, 50, 100, -3, 2.5, 120, -40};
    }
    return profile;
}

}  // namespace

// The faults of the last attack and their kin: each is taken as missing before any formula
// sees it, once noted per field; values inside the spans, their edges too, stay as read.
TEST(ValueRanges, ValuesOutsideTheirSpansAreMissingWithOneNoteEach) {
    BufkitProfile profile = saneProfile();
    const BufkitProfile sane = profile;
    std::vector<std::string> notes;
    std::string fault;
    ASSERT_TRUE(screenProfile(profile, notes, fault)) << fault;
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(profile.surface[1].values, sane.surface[1].values);
    EXPECT_EQ(profile.blocks[1].levels, sane.blocks[1].levels);

    profile.surface[1].values[surfaceUwnd] = 1e200;
    profile.surface[0].values[surfaceUwnd] = -201;
    profile.surface[1].values[surfaceT2ms] = -243.5;
    profile.surface[0].values[surfaceTd2m] = 80.5;
    profile.surface[1].values[surfaceLcld] = 1.7e308;
    profile.surface[0].values[surfaceHcld] = 100.5;
    profile.blocks[1].levels[levelTmpc][1] = 81;
    profile.blocks[0].cape = -1001;
    profile.blocks[0].elevation = 1e300;
    ASSERT_TRUE(screenProfile(profile, notes, fault)) << fault;
    const std::vector<std::string> expected = {
        "SELV 1e+300 in block 1 (STIM 0) lies outside -1000 to 10000; it is taken as missing",
        "CAPE -1001 in block 1 (STIM 0) lies outside -1000 to 20000; it is taken as missing",
        "TMPC 81 in block 2 (STIM 3) lies outside -150 to 80; it is taken as missing",
        "T2MS -243.5 in the surface row 2 (000101/0300) lies outside -150 to 80; it is taken as "
        "missing",
        "TD2M 80.5 in the surface row 1 (000101/0000) lies outside -150 to 80; it is taken as "
        "missing",
        "LCLD 1.7e+308 in the surface row 2 (000101/0300) lies outside 0 to 100; it is taken as "
        "missing",
        "HCLD 100.5 in the surface row 1 (000101/0000) lies outside 0 to 100; it is taken as "
        "missing",
        "UWND -201 in the surface row 1 (000101/0000) lies outside -200 to 200, as does 1 more; "
        "each is taken as missing"};
    EXPECT_EQ(notes, expected);
    EXPECT_TRUE(isMissing(profile.surface[1].values[surfaceUwnd]));
    EXPECT_TRUE(isMissing(profile.surface[0].values[surfaceUwnd]));
    EXPECT_TRUE(isMissing(profile.surface[1].values[surfaceT2ms]));
    EXPECT_TRUE(isMissing(profile.blocks[1].levels[levelTmpc][1]));
    EXPECT_EQ(profile.blocks[1].levels[levelTmpc][0], 10);
    EXPECT_TRUE(isMissing(profile.blocks[0].elevation));
    EXPECT_EQ(profile.surface[1].values[surfaceVwnd], 2.5);

    // The vertical coordinate itself: the block is refused, named.
    BufkitProfile high = saneProfile();
    high.blocks[1].levels[levelPres][0] = 1200.5;
    notes.clear();
    EXPECT_FALSE(screenProfile(high, notes, fault));
    EXPECT_EQ(fault, "block 2 (STIM 3): PRES 1200.5 lies above 1200 mb");
    high.blocks[1].levels[levelPres][0] = 1200;
    EXPECT_TRUE(screenProfile(high, notes, fault));
}

TEST(ValueRanges, Grib2SamplesOutsideTheirSpansAreLeftOut) {
    std::vector<GribSample> samples = {
        {fieldTemp2m, TimeKind::instant, 6, 6, 1e200, false},
        {fieldTemp2m, TimeKind::instant, 9, 9, 300.0, false},
        {fieldTemp2m, TimeKind::instant, 12, 12, 0.0, false},
        {fieldU10, TimeKind::instant, 6, 6, -200.0, false},
        {fieldCloud, TimeKind::average, 0, 6, 1.7e308, false},
        {fieldCloud, TimeKind::average, 6, 12, 1e300, true},  // the bitmap leaves it out
        {fieldPressure, TimeKind::instant, 6, 6, 101325.0, false},
    };
    std::vector<std::string> notes;
    screenGribSamples(samples, notes);
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_EQ(samples[0].value, 300.0);
    EXPECT_EQ(samples[1].value, -200.0);
    EXPECT_TRUE(samples[2].masked);
    EXPECT_EQ(samples[3].field, fieldPressure);
    const std::vector<std::string> expected = {
        "TMP 2 m 1e+200 in the message of hour 6 lies outside 123.15 to 353.15, as does 1 more; "
        "each is taken as missing",
        "TCDC 1.7e+308 in the message of hour 6 lies outside 0 to 100; it is taken as missing"};
    EXPECT_EQ(notes, expected);
}
