#include "verify/observed.h"

#include <gtest/gtest.h>

#include "verify/verify_time.h"

namespace {

const std::int64_t day = dayOfDate({2026, 12, 8});
const std::int64_t midnight = day * 24;

// A routine report at hh:53 whose nominal hour is `hour`.
AsosReport routine(std::int64_t hour, std::optional<double> tmpf, std::optional<double> p01i = {}) {
    AsosReport report;
    report.minute = hour * 60 - 7;
    report.tmpf = tmpf;
    report.p01i = p01i;
    return report;
}

// Hourly reports of `value` over [first, last], leaving out `skip` hours from the start.
std::vector<AsosReport> hourly(std::int64_t first, std::int64_t last, double value,
                               std::int64_t skip = 0) {
    std::vector<AsosReport> reports;
    for (std::int64_t hour = first + skip; hour <= last; ++hour) {
        reports.push_back(routine(hour, value));
    }
    return reports;
}

}  // namespace

TEST(Observed, WindowsOfEachRuleAndZone) {
    struct Case {
        PeriodRule rule;
        bool max;
        int offset;
        std::int64_t first, last;
    };
    const Case cases[] = {
        {PeriodRule::nbs, true, -6, midnight + 12, midnight + 30},
        {PeriodRule::nbs, false, -10, midnight, midnight + 18},
        {PeriodRule::gfsMos, true, -6, midnight + 13, midnight + 25},   // 07-19 CST
        {PeriodRule::gfsMos, false, -6, midnight + 1, midnight + 14},   // 19 CST - 08 CST
        {PeriodRule::gfsMos, true, -5, midnight + 12, midnight + 24},   // EST
        {PeriodRule::gfsMos, false, -10, midnight + 5, midnight + 18},  // HST
    };
    for (const Case& c : cases) {
        const Window window = extremeWindow(c.rule, c.max, day, c.offset);
        EXPECT_EQ(window.first, c.first) << c.offset << c.max;
        EXPECT_EQ(window.last, c.last) << c.offset << c.max;
    }
}

TEST(Observed, AWindowNeedsEightyPercentOfItsHours) {
    // 07-19 CST is 13 hours: 11 reported (85 %) is enough, 10 (77 %) is not.
    const Window window = extremeWindow(PeriodRule::gfsMos, true, day, -6);
    EXPECT_EQ(
        observedExtreme(observedHours(hourly(window.first, window.last, 40, 2)), window, true), 40);
    EXPECT_FALSE(
        observedExtreme(observedHours(hourly(window.first, window.last, 40, 3)), window, true));
    // The NBS min window is 19 hours: 16 (84 %) is enough, 15 (79 %) is not.
    const Window nbs = extremeWindow(PeriodRule::nbs, false, day, -6);
    EXPECT_EQ(observedExtreme(observedHours(hourly(nbs.first, nbs.last, 10, 3)), nbs, false), 10);
    EXPECT_FALSE(observedExtreme(observedHours(hourly(nbs.first, nbs.last, 10, 4)), nbs, false));
    // Of a window of 10 hours, 8 (exactly 80 %) are enough, 7 are not.
    const Window ten{midnight, midnight + 9};
    EXPECT_EQ(observedExtreme(observedHours(hourly(ten.first, ten.last, 33, 2)), ten, true), 33);
    EXPECT_FALSE(observedExtreme(observedHours(hourly(ten.first, ten.last, 33, 3)), ten, true));
    // Reports outside the window do not count for it.
    std::vector<AsosReport> outside = hourly(nbs.first, nbs.last, 10, 4);
    outside.push_back(routine(nbs.first - 1, 10));
    outside.push_back(routine(nbs.last + 1, 10));
    EXPECT_FALSE(observedExtreme(observedHours(outside), nbs, false));
}

TEST(Observed, SixHourGroupsCountOnlyWhenTheirSixHoursLieInside) {
    // 07-19 CST is 13 to 01 UTC. The 18 UTC group covers 12-18 UTC: across the window's
    // start, left out. The 00 UTC group covers 18-00: inside.
    const Window window = extremeWindow(PeriodRule::gfsMos, true, day, -6);
    std::vector<AsosReport> reports = hourly(window.first, window.last, 40);
    reports.push_back(routine(midnight + 18, 41));
    reports.back().maxSixHourF = 55;
    EXPECT_EQ(observedExtreme(observedHours(reports), window, true), 41);
    reports.push_back(routine(midnight + 24, 40));
    reports.back().maxSixHourF = 44.6;
    EXPECT_EQ(observedExtreme(observedHours(reports), window, true), 44.6);
    // The group that ends at the window's last hour is in; one after it is not.
    const Window nbs = extremeWindow(PeriodRule::nbs, false, day, -6);  // 00-18 UTC
    reports = hourly(nbs.first, nbs.last, 30);
    AsosReport group = routine(nbs.first + 6, 30);
    group.minSixHourF = 21.2;
    reports.push_back(group);
    EXPECT_EQ(observedExtreme(observedHours(reports), nbs, false), 21.2);
    reports.pop_back();
    group = routine(nbs.last + 6, 30);
    group.minSixHourF = 10;
    reports.push_back(group);
    group = routine(nbs.first + 5, 30);  // its 6 hours start before 00 UTC
    group.minSixHourF = 11;
    reports.push_back(group);
    EXPECT_EQ(observedExtreme(observedHours(reports), nbs, false), 30);
}

TEST(Observed, TheHourKeepsItsHighestAndLowestReport) {
    std::vector<AsosReport> reports = hourly(midnight, midnight + 18, 30);
    AsosReport special = routine(midnight + 9, 12);
    special.minute = (midnight + 9) * 60 + 20;  // 09:20, nominal 09
    special.special = true;
    reports.push_back(special);
    const Window nbs = extremeWindow(PeriodRule::nbs, false, day, -6);
    EXPECT_EQ(observedExtreme(observedHours(reports), nbs, false), 12);
    EXPECT_EQ(observedExtreme(observedHours(reports), nbs, true), 30);
}

TEST(Observed, PrecipitationOfTwelveHours) {
    const std::int64_t end = midnight + 12;
    const auto twelve = [&](double each) {
        std::vector<AsosReport> reports;
        for (std::int64_t hour = end - 11; hour <= end; ++hour) {
            reports.push_back(routine(hour, 30, each));
        }
        return reports;
    };
    EXPECT_EQ(observedPrecipEvent(observedHours(twelve(0)), end), 0);
    std::vector<AsosReport> reports = twelve(0);
    reports[11].p01i = 0.01;
    EXPECT_EQ(observedPrecipEvent(observedHours(reports), end), 1);
    // A report of the hour after the period is not in it.
    reports = twelve(0);
    reports.push_back(routine(end + 1, 30, 0.5));
    reports.push_back(routine(end - 12, 30, 0.5));
    EXPECT_EQ(observedPrecipEvent(observedHours(reports), end), 0);
    // A special's p01i (since the last routine report) is not added.
    reports = twelve(0);
    AsosReport special = routine(end - 3, 30, 0.04);
    special.special = true;
    reports.push_back(special);
    AsosReport offHour = routine(end - 3, 30, 0.04);
    offHour.minute = (end - 3) * 60 - 30;  // 08:30: off the routine minutes
    reports.push_back(offHour);
    EXPECT_EQ(observedPrecipEvent(observedHours(reports), end), 0);
    // A missing hour with nothing known to have fallen: missing; with 0.01 known: an event.
    reports = twelve(0);
    reports.erase(reports.begin() + 4);
    EXPECT_FALSE(observedPrecipEvent(observedHours(reports), end));
    reports[0].p01i = 0.01;
    EXPECT_EQ(observedPrecipEvent(observedHours(reports), end), 1);
    // The two 6-hour groups stand in for missing hours: 0.00 and 0.00, or one of 0.01.
    reports = twelve(0);
    reports.erase(reports.begin() + 4);
    reports[4].precipSixHour = 0;  // nominal hour end - 6
    EXPECT_FALSE(observedPrecipEvent(observedHours(reports), end));
    reports.back().precipSixHour = 0;
    EXPECT_EQ(observedPrecipEvent(observedHours(reports), end), 0);
    reports.back().precipSixHour = 0.01;
    EXPECT_EQ(observedPrecipEvent(observedHours(reports), end), 1);
    // A group off the period's two synoptic hours is not read.
    reports = twelve(0);
    reports.erase(reports.begin() + 2);
    reports[0].precipSixHour = 0.01;  // at end - 11: not a synoptic hour of the period
    EXPECT_FALSE(observedPrecipEvent(observedHours(reports), end));
}
