#include "verify/pairs.h"

#include <array>
#include <map>
#include <tuple>

#include "arith/station_weights.h"
#include "verify/verify_time.h"

namespace {

PeriodRule ruleOf(MosModel model) {
    return model == MosModel::nbs ? PeriodRule::nbs : PeriodRule::gfsMos;
}

GuidanceSource sourceOf(MosModel model) {
    switch (model) {
        case MosModel::nbs:
            return GuidanceSource::nbs;
        case MosModel::gfs:
            return GuidanceSource::mav;
        case MosModel::mex:
            return GuidanceSource::mex;
    }
    return GuidanceSource::nbs;
}

// Option 1's blend of one value: the first model times its ratio plus the second times
// the rest, through the same formula, one station of weight 1.
double blended(double ratio, double nbs, double mos) {
    constexpr std::array<double, 1> alone{1.0};
    ModelSetValues values;
    values.eta[0] = nbs;
    values.avn[0] = mos;
    return blendedSetValue(ratio, 1.0 - ratio, alone, values);
}

}  // namespace

int runHourOf(MosModel model) {
    return model == MosModel::mex ? 0 : 12;
}

int leadDayOf(std::int64_t runHour, std::int64_t validHour) {
    const std::int64_t hours = validHour - runHour;
    return hours <= 0 ? 0 : static_cast<int>((hours + 23) / 24);
}

std::vector<VerifiedPair> stationPairs(std::size_t station, MosModel model,
                                       std::span<const MosValue> guidance,
                                       const ObservedHours& hours, int utcOffset,
                                       const DayRange& range) {
    std::vector<VerifiedPair> pairs;
    for (const MosValue& value : guidance) {
        const int hourOfDay = static_cast<int>(value.validHour - dayOfHour(value.validHour) * 24);
        const int lead = leadDayOf(value.runHour, value.validHour);
        const std::int64_t runDay = dayOfHour(value.runHour);
        // The max and the PoP ending at 00 UTC belong to the day before.
        const std::int64_t day = dayOfHour(value.validHour - 1);
        // The MEX runs 12 hours before the NBS it partners: its day 8 is the NBS's day 7.
        const int lastLead = model == MosModel::mex ? lastLeadDay + 1 : lastLeadDay;
        if (value.runHour - runDay * 24 != runHourOf(model) || lead < 1 || lead > lastLead ||
            (hourOfDay != 0 && hourOfDay != 12) || day < range.first || day > range.last) {
            continue;
        }
        VerifiedPair pair{
            station, sourceOf(model), Variable::max, lead, day, runDay, value.validHour, 0, 0};
        if (value.maxMin) {
            const bool max = hourOfDay == 0;
            const Window window = extremeWindow(ruleOf(model), max, day, utcOffset);
            if (const std::optional<double> seen = observedExtreme(hours, window, max)) {
                pair.variable = max ? Variable::max : Variable::min;
                pair.forecast = *value.maxMin;
                pair.observed = *seen;
                pairs.push_back(pair);
            }
        }
        if (value.pop12) {
            if (const std::optional<int> fell = observedPrecipEvent(hours, value.validHour)) {
                pair.variable = Variable::pop12;
                pair.forecast = *value.pop12 / 100.0;
                pair.observed = *fell;
                pairs.push_back(pair);
            }
        }
    }
    return pairs;
}

std::vector<BlendPair> blendPairs(std::span<const VerifiedPair> pairs) {
    using Key = std::tuple<std::size_t, GuidanceSource, Variable, std::int64_t, std::int64_t>;
    std::map<Key, const VerifiedPair*> partners;
    for (const VerifiedPair& pair : pairs) {
        if (pair.source == GuidanceSource::mav || pair.source == GuidanceSource::mex) {
            partners[{pair.station, pair.source, pair.variable, pair.runDay, pair.validHour}] =
                &pair;
        }
    }
    std::vector<BlendPair> blends;
    for (const VerifiedPair& nbs : pairs) {
        if (nbs.source != GuidanceSource::nbs) {
            continue;
        }
        const GuidanceSource partner = nbs.leadDay <= 2 ? GuidanceSource::mav : GuidanceSource::mex;
        const auto found =
            partners.find({nbs.station, partner, nbs.variable, nbs.runDay, nbs.validHour});
        if (found == partners.end()) {
            continue;
        }
        const VerifiedPair& mos = *found->second;
        blends.push_back({nbs.station, nbs.variable, nbs.leadDay, nbs.day, nbs.validHour,
                          nbs.forecast, nbs.observed, mos.forecast, mos.observed});
    }
    return blends;
}

VerifiedPair blendAt(const BlendPair& pair, double ratio, GuidanceSource source) {
    return {pair.station,
            source,
            pair.variable,
            pair.leadDay,
            pair.day,
            0,
            pair.validHour,
            blended(ratio, pair.nbsForecast, pair.mosForecast),
            blended(ratio, pair.nbsObserved, pair.mosObserved)};
}
