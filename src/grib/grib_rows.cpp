#include "grib/grib_rows.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <set>

namespace {

// The value of `field` at `hour`: the average over the period ending at the hour where the
// files give one (the shortest such period), else the instant value.
std::optional<double> valueAt(std::span<const GribSample> samples, GribField field, int hour) {
    const GribSample* average = nullptr;
    const GribSample* instant = nullptr;
    for (const GribSample& sample : samples) {
        if (sample.field != field || sample.endHour != hour) {
            continue;
        }
        if (sample.kind == TimeKind::average &&
            (average == nullptr || sample.startHour > average->startHour)) {
            average = &sample;
        } else if (sample.kind == TimeKind::instant) {
            instant = &sample;
        }
    }
    const GribSample* taken = average != nullptr ? average : instant;
    if (taken == nullptr || taken->masked) {
        return std::nullopt;
    }
    return taken->value;
}

// Every accumulation is the difference of the run's total at its two ends; the amounts
// reachable from `from` through such differences, as totals since `from`, by hour.
std::map<int, double> amountsFrom(std::span<const GribSample> samples, int from) {
    std::map<int, double> reached{{from, 0.0}};
    for (bool grew = true; grew;) {
        grew = false;
        for (const GribSample& sample : samples) {
            if (sample.field != fieldPrecip || sample.kind != TimeKind::accumulation ||
                sample.masked) {
                continue;
            }
            const auto start = reached.find(sample.startHour);
            const auto end = reached.find(sample.endHour);
            if (start != reached.end() && end == reached.end()) {
                reached.emplace(sample.endHour, start->second + sample.value);
                grew = true;
            } else if (end != reached.end() && start == reached.end()) {
                reached.emplace(sample.startHour, end->second - sample.value);
                grew = true;
            }
        }
    }
    return reached;
}

std::optional<double> precipBetween(std::span<const GribSample> samples, int from, int to) {
    const std::map<int, double> reached = amountsFrom(samples, from);
    const auto end = reached.find(to);
    if (end == reached.end()) {
        return std::nullopt;
    }
    // Differences of packed totals can fall a hair below zero where nothing fell.
    return std::max(end->second, 0.0);
}

double orMissing(std::optional<double> value) {
    return value ? *value : gribMissing;
}

std::optional<double> minus(std::optional<double> value, double offset) {
    return value ? std::optional<double>(*value - offset) : std::nullopt;
}

std::string hourList(const std::vector<int>& hours) {
    std::string text;
    for (const int hour : hours) {
        text += (text.empty() ? "" : ", ") + std::to_string(hour);
    }
    return text;
}

}  // namespace

double windDirection(double u, double v) {
    if (u == 0.0 && v == 0.0) {
        return 0.0;
    }
    double degrees = std::atan2(-u, -v) * 180.0 / std::numbers::pi;
    if (degrees < 0.0) {
        degrees += 360.0;
    }
    return degrees >= 360.0 ? 0.0 : degrees;
}

double windSpeedKnots(double u, double v) {
    return std::sqrt(u * u + v * v) / knotInMetersPerSecond;
}

GribTables buildGribRows(std::span<const GribSample> samples, int step) {
    std::set<int> hours;
    for (const GribSample& sample : samples) {
        if (sample.endHour >= step && sample.endHour % step == 0) {
            hours.insert(sample.endHour);
        }
    }
    GribTables tables;
    std::array<std::vector<int>, gribFieldCount> missingHours;
    std::optional<int> previous;
    for (const int hour : hours) {
        std::array<std::optional<double>, gribFieldCount> v;
        for (std::size_t field = 0; field < gribFieldCount; ++field) {
            if (field == fieldPrecip) {
                continue;
            }
            v[field] = valueAt(samples, static_cast<GribField>(field), hour);
            if (!v[field]) {
                missingHours[field].push_back(hour);
            }
        }
        std::optional<double> precip;
        if (previous) {
            precip = precipBetween(samples, *previous, hour);
            if (!precip) {
                tables.notes.push_back("precipitation for hours " + std::to_string(*previous) +
                                       " to " + std::to_string(hour) +
                                       " cannot be worked out from the files; written as -9999");
            }
        } else {
            precip = precipBetween(samples, 0, hour);
            if (!precip) {
                // The files start after the run's start: the longest period they give.
                const std::map<int, double> reached = amountsFrom(samples, hour);
                if (reached.begin()->first < hour) {
                    precip = std::max(-reached.begin()->second, 0.0);
                    tables.notes.push_back(
                        "precipitation of hour " + std::to_string(hour) + " is for hours " +
                        std::to_string(reached.begin()->first) + " to " + std::to_string(hour) +
                        ", the period the files give for it");
                } else {
                    tables.notes.push_back(
                        "precipitation for hours 0 to " + std::to_string(hour) +
                        " cannot be worked out from the files; written as -9999");
                }
            }
        }
        previous = hour;

        GribRow row;
        row.hour = hour;
        const auto wind = [&](GribField u, GribField w, bool direction) {
            if (!v[u] || !v[w]) {
                return gribMissing;
            }
            return direction ? windDirection(*v[u], *v[w]) : windSpeedKnots(*v[u], *v[w]);
        };
        std::optional<double> thickness;
        if (v[fieldHeight500] && v[fieldHeight1000]) {
            thickness = *v[fieldHeight500] - *v[fieldHeight1000];
        }
        row.column = {orMissing(v[fieldPressure] ? std::optional<double>(*v[fieldPressure] / 100.0)
                                                 : std::nullopt),
                      orMissing(minus(v[fieldTemp2m], kelvinAtZeroCelsius)),
                      orMissing(minus(v[fieldTemp850], kelvinAtZeroCelsius)),
                      orMissing(minus(v[fieldTemp700], kelvinAtZeroCelsius)),
                      orMissing(minus(v[fieldTemp500], kelvinAtZeroCelsius)),
                      orMissing(thickness),
                      orMissing(v[fieldHumidity2m]),
                      orMissing(precip),
                      orMissing(v[fieldCloud]),
                      wind(fieldU10, fieldV10, true),
                      wind(fieldU10, fieldV10, false)};
        row.severe = {orMissing(v[fieldBest4Layer]),
                      orMissing(v[fieldLifted]),
                      orMissing(v[fieldCin]),
                      orMissing(v[fieldCape]),
                      orMissing(v[fieldTheta]),
                      wind(fieldU900, fieldV900, false),
                      wind(fieldU500, fieldV500, false),
                      wind(fieldU250, fieldV250, false),
                      orMissing(v[fieldLatentHeat]),
                      orMissing(v[fieldSensibleHeat])};
        tables.rows.push_back(row);
    }
    for (std::size_t field = 0; field < gribFieldCount; ++field) {
        if (!missingHours[field].empty()) {
            tables.notes.push_back("no " + std::string(gribFieldNames[field]) +
                                   " at the point in the files for hours " +
                                   hourList(missingHours[field]) + "; written as -9999");
        }
    }
    return tables;
}
