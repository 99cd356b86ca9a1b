#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "verify/mos_csv.h"
#include "verify/observed.h"
#include "verify/scores.h"

// Forecasts paired with what was observed over the periods they forecast, and the blend
// of the NBS with the GFS MOS formed as option 1 forms it.

/// The run of each model option 1 reads: the NBS and the GFS MOS of 12 UTC, the GFSX MOS
/// (MEX) of 00 UTC.
int runHourOf(MosModel model);

/// Lead days scored.
inline constexpr int lastLeadDay = 7;

/// The lead day of a forecast hour: day 1 runs to 24 hours after the run, day 2 to 48.
int leadDayOf(std::int64_t runHour, std::int64_t validHour);

/// The days verified, both counted.
struct DayRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
};

/// The pairs of one station's guidance of `model` for the days of `range`: the max at 00
/// UTC, the min at 12 UTC and the PoP12 at both, each against the period of the model's
/// rule (the station at `utcOffset` hours of standard time); a forecast or observation
/// missing makes no pair. The MEX's pairs run to lead day 8, for the blend's day 7 only.
std::vector<VerifiedPair> stationPairs(std::size_t station, MosModel model,
                                       std::span<const MosValue> guidance,
                                       const ObservedHours& hours, int utcOffset,
                                       const DayRange& range);

/// The NBS and the GFS MOS of one station, forecast and period, from runs of one day: the
/// MAV for lead days 1 and 2 (as option 1 blends them), the MEX after.
struct BlendPair {
    std::size_t station = 0;
    Variable variable = Variable::max;
    int leadDay = 1;
    std::int64_t day = 0;
    std::int64_t validHour = 0;
    double nbsForecast = 0, nbsObserved = 0;
    double mosForecast = 0, mosObserved = 0;
};

/// Every NBS pair that has its GFS MOS partner.
std::vector<BlendPair> blendPairs(std::span<const VerifiedPair> pairs);

/// The blend at `ratio` (the NBS's share; the GFS MOS has the rest), each share against its
/// own period, as a pair of `source`.
VerifiedPair blendAt(const BlendPair& pair, double ratio, GuidanceSource source);
