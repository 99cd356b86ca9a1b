#include "verify/pairs.h"

#include <gtest/gtest.h>

#include "verify/verify_time.h"

namespace {

const std::int64_t day = dayOfDate({2026, 12, 8});

// Every hour of three days around `day` at 40 F, the precipitation 0.
ObservedHours steadyHours() {
    std::vector<AsosReport> reports;
    for (std::int64_t hour = (day - 2) * 24; hour < (day + 3) * 24; ++hour) {
        AsosReport report;
        report.minute = hour * 60 - 7;
        report.tmpf = 40;
        report.p01i = 0;
        reports.push_back(report);
    }
    return observedHours(reports);
}

}  // namespace

TEST(Pairs, LeadDaysCountFromTheRun) {
    const std::int64_t run = day * 24 + 12;
    EXPECT_EQ(leadDayOf(run, run), 0);
    EXPECT_EQ(leadDayOf(run, run + 12), 1);
    EXPECT_EQ(leadDayOf(run, run + 24), 1);
    EXPECT_EQ(leadDayOf(run, run + 25), 2);
    EXPECT_EQ(leadDayOf(run, run + 168), 7);
    EXPECT_EQ(leadDayOf(run, run + 169), 8);
}

TEST(Pairs, OnlyOptionOnesRunsAndTheHoursOfMaxAndMinArePaired) {
    const std::int64_t run = day * 24 + 12;
    const std::vector<MosValue> guidance = {
        {run, run + 12, 44, 30},            // max of the 8th, lead 1, PoP ending 00 UTC
        {run, run + 24, 38, std::nullopt},  // min of the 9th
        {run, run + 15, 41, 20},            // 03 UTC: neither
        {run - 6, run + 18, 50, 50},        // the 06 UTC run: not option 1's
        {run, run + 12 + 24 * 7, 45, 10},   // lead 8
    };
    const DayRange range{day - 1, day + 1};
    const std::vector<VerifiedPair> pairs =
        stationPairs(2, MosModel::nbs, guidance, steadyHours(), -6, range);
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0].variable, Variable::max);
    EXPECT_EQ(pairs[0].day, day);
    EXPECT_EQ(pairs[0].leadDay, 1);
    EXPECT_EQ(pairs[0].forecast, 44);
    EXPECT_EQ(pairs[0].observed, 40);
    EXPECT_EQ(pairs[0].station, 2u);
    EXPECT_EQ(pairs[1].variable, Variable::pop12);
    EXPECT_DOUBLE_EQ(pairs[1].forecast, 0.3);
    EXPECT_EQ(pairs[1].observed, 0);
    EXPECT_EQ(pairs[2].variable, Variable::min);
    EXPECT_EQ(pairs[2].day, day + 1);
    // Days outside the range are left out; the MEX is paired from its 00 UTC run.
    EXPECT_TRUE(
        stationPairs(0, MosModel::nbs, guidance, steadyHours(), -6, {day + 1, day + 1}).size() ==
        1);
    EXPECT_TRUE(stationPairs(0, MosModel::mex, guidance, steadyHours(), -6, range).empty());
    const std::vector<MosValue> mex = {{day * 24, day * 24 + 24, 47, 10}};
    EXPECT_EQ(stationPairs(0, MosModel::mex, mex, steadyHours(), -6, range).size(), 2u);
    // The MEX reaches lead day 8 (the NBS's day 7 min, 180 hours after its 00 UTC run), the
    // NBS stops at 7.
    const std::int64_t late = (day - 7) * 24;
    const std::vector<MosValue> eighth = {{late, late + 180, 39, std::nullopt}};
    const std::vector<VerifiedPair> mexEighth =
        stationPairs(0, MosModel::mex, eighth, steadyHours(), -6, range);
    ASSERT_EQ(mexEighth.size(), 1u);
    EXPECT_EQ(mexEighth[0].leadDay, 8);
    const std::vector<MosValue> nbsEighth = {{late + 12, late + 192, 39, std::nullopt}};
    EXPECT_TRUE(stationPairs(0, MosModel::nbs, nbsEighth, steadyHours(), -6, range).empty());
}

TEST(Pairs, TheBlendTakesTheMavForTwoDaysThenTheMex) {
    const auto pair = [](GuidanceSource source, int lead, std::int64_t runDay, double forecast) {
        VerifiedPair made;
        made.source = source;
        made.leadDay = lead;
        made.runDay = runDay;
        made.validHour = runDay * 24 + 24 * lead;
        made.day = runDay + lead;
        made.forecast = forecast;
        made.observed = 40;
        return made;
    };
    std::vector<VerifiedPair> pairs = {
        pair(GuidanceSource::nbs, 2, day, 42),
        pair(GuidanceSource::mav, 2, day, 46),
        pair(GuidanceSource::mex, 2, day, 50),
        pair(GuidanceSource::nbs, 3, day, 42),
        pair(GuidanceSource::mav, 3, day, 46),
        pair(GuidanceSource::mex, 3, day, 50),
        pair(GuidanceSource::nbs, 1, day, 42),
        pair(GuidanceSource::mav, 1, day - 1, 46),  // runs of other days
    };
    pairs[3].observed = 30;  // the NBS max's own period
    const std::vector<BlendPair> blends = blendPairs(pairs);
    ASSERT_EQ(blends.size(), 2u);
    EXPECT_EQ(blends[0].mosForecast, 46);
    EXPECT_EQ(blends[1].mosForecast, 50);
    const VerifiedPair blend = blendAt(blends[1], 0.75, GuidanceSource::blend);
    EXPECT_EQ(blend.forecast, 0.75 * 42 + 0.25 * 50);
    EXPECT_EQ(blend.observed, 0.75 * 30 + 0.25 * 40);
    EXPECT_EQ(blend.leadDay, 3);
    EXPECT_EQ(blend.source, GuidanceSource::blend);
}
