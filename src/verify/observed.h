#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "verify/asos_csv.h"

// What was observed over the periods the guidance forecasts. The GFS MOS max is that of
// the local day's 07 to 19 local standard time, its min that of 19 LST the day before to
// 08 LST; the NBS max that of 12 to 06 UTC, its min 00 to 18 UTC. A window is its first and
// last nominal hour, both counted.

/// A station's reports by nominal hour.
struct ObservedHours {
    std::map<std::int64_t, double> hourMax;        // the highest tmpf of the hour
    std::map<std::int64_t, double> hourMin;        // the lowest
    std::map<std::int64_t, double> sixHourMax;     // 1snTTT, F, at the hour it ends
    std::map<std::int64_t, double> sixHourMin;     // 2snTTT
    std::map<std::int64_t, double> routinePrecip;  // p01i of the hour's routine report
    std::map<std::int64_t, double> sixHourPrecip;  // 6RRRR at the synoptic hours
};

/// Sorts the reports into their nominal hours.
ObservedHours observedHours(const std::vector<AsosReport>& reports);

struct Window {
    std::int64_t first = 0;  // hours from the epoch, UTC
    std::int64_t last = 0;
};

/// Whose periods: the NBS's, or the GFS MOS's (MAV and MEX).
enum class PeriodRule { nbs, gfsMos };

/// The window of the max (or min) of `day`: for the GFS MOS a local day at `utcOffset`
/// hours of standard time (-6 for CST), for the NBS the UTC day.
Window extremeWindow(PeriodRule rule, bool max, std::int64_t day, int utcOffset);

/// A window needs this share of its hours reported, in fifths (4: 80 %).
inline constexpr int reportedFifths = 4;

/// The highest (or lowest) of the window's hourly temperatures and of the 6-hour groups
/// whose whole 6 hours lie inside it; none when under 80 % of its hours were reported.
std::optional<double> observedExtreme(const ObservedHours& hours, const Window& window, bool max);

/// The 12 hours ending at `endHour` (00 or 12 UTC): 1 when 0.01 in or more fell, 0 when
/// less, none when an hour is missing and less than 0.01 in is known. The routine reports'
/// p01i of the 12 nominal hours, or the 6RRRR groups at the two synoptic hours.
std::optional<int> observedPrecipEvent(const ObservedHours& hours, std::int64_t endHour);
