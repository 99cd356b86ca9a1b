#include "verify/observed.h"

#include <algorithm>
#include <cmath>

namespace {

void keepExtreme(std::map<std::int64_t, double>& hours, std::int64_t hour, double value, bool max) {
    const auto [at, added] = hours.emplace(hour, value);
    if (!added) {
        at->second = max ? std::max(at->second, value) : std::min(at->second, value);
    }
}

// A routine report comes in the last quarter of its hour; a special (or a report off the
// hour) carries the precipitation since the last routine one, which a sum would count
// twice.
bool isRoutine(const AsosReport& report) {
    const std::int64_t minuteOfHour = ((report.minute % 60) + 60) % 60;
    return !report.special && minuteOfHour >= 45;
}

// Hundredths of an inch, so that sums are exact.
long hundredths(double inches) {
    return std::lround(inches * 100.0);
}

}  // namespace

ObservedHours observedHours(const std::vector<AsosReport>& reports) {
    ObservedHours hours;
    for (const AsosReport& report : reports) {
        const std::int64_t hour = nominalHour(report.minute);
        if (report.tmpf) {
            keepExtreme(hours.hourMax, hour, *report.tmpf, true);
            keepExtreme(hours.hourMin, hour, *report.tmpf, false);
        }
        if (report.maxSixHourF) {
            keepExtreme(hours.sixHourMax, hour, *report.maxSixHourF, true);
        }
        if (report.minSixHourF) {
            keepExtreme(hours.sixHourMin, hour, *report.minSixHourF, false);
        }
        if (report.p01i && isRoutine(report)) {
            hours.routinePrecip[hour] = *report.p01i;
        }
        if (report.precipSixHour && hour % 6 == 0) {
            hours.sixHourPrecip[hour] = *report.precipSixHour;
        }
    }
    return hours;
}

Window extremeWindow(PeriodRule rule, bool max, std::int64_t day, int utcOffset) {
    const std::int64_t midnight = day * 24;
    if (rule == PeriodRule::nbs) {
        return max ? Window{midnight + 12, midnight + 30} : Window{midnight, midnight + 18};
    }
    // Local standard time h is UTC h - offset.
    const std::int64_t local = midnight - utcOffset;
    return max ? Window{local + 7, local + 19} : Window{local - 5, local + 8};
}

std::optional<double> observedExtreme(const ObservedHours& hours, const Window& window, bool max) {
    const std::map<std::int64_t, double>& hourly = max ? hours.hourMax : hours.hourMin;
    const std::int64_t span = window.last - window.first + 1;
    std::int64_t reported = 0;
    std::optional<double> extreme;
    const auto take = [&](double value) {
        extreme = !extreme ? value : max ? std::max(*extreme, value) : std::min(*extreme, value);
    };
    for (auto at = hourly.lower_bound(window.first); at != hourly.end() && at->first <= window.last;
         ++at) {
        ++reported;
        take(at->second);
    }
    if (reported * 5 < span * reportedFifths) {
        return std::nullopt;
    }
    const std::map<std::int64_t, double>& groups = max ? hours.sixHourMax : hours.sixHourMin;
    for (auto at = groups.lower_bound(window.first + 6);
         at != groups.end() && at->first <= window.last; ++at) {
        take(at->second);
    }
    return extreme;
}

std::optional<int> observedPrecipEvent(const ObservedHours& hours, std::int64_t endHour) {
    long hourly = 0;
    bool hourMissing = false;
    for (std::int64_t hour = endHour - 11; hour <= endHour; ++hour) {
        const auto at = hours.routinePrecip.find(hour);
        if (at == hours.routinePrecip.end()) {
            hourMissing = true;
        } else {
            hourly += hundredths(at->second);
        }
    }
    if (!hourMissing) {
        return hourly >= 1 ? 1 : 0;
    }
    const auto first = hours.sixHourPrecip.find(endHour - 6);
    const auto second = hours.sixHourPrecip.find(endHour);
    if (first != hours.sixHourPrecip.end() && second != hours.sixHourPrecip.end()) {
        return hundredths(first->second) + hundredths(second->second) >= 1 ? 1 : 0;
    }
    // A missing hour cannot undo what is known to have fallen.
    const bool groupFell = (first != hours.sixHourPrecip.end() && hundredths(first->second) >= 1) ||
                           (second != hours.sixHourPrecip.end() && hundredths(second->second) >= 1);
    if (hourly >= 1 || groupFell) {
        return 1;
    }
    return std::nullopt;
}
