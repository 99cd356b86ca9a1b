#include "grib/grib_rows.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "arith/wind_direction.h"

namespace {

// The value each field takes at each hour: the average over the period ending at the hour
// where the files give one (the shortest such period), else the instant value. Chosen in
// one pass over the samples.
class FieldValues {
public:
    explicit FieldValues(std::span<const GribSample> samples) {
        for (const GribSample& sample : samples) {
            Choice& choice = chosen_[{sample.endHour, sample.field}];
            if (sample.kind == TimeKind::average &&
                (choice.average == nullptr || sample.startHour > choice.average->startHour)) {
                choice.average = &sample;
            } else if (sample.kind == TimeKind::instant) {
                choice.instant = &sample;
            }
        }
    }

    std::optional<double> at(GribField field, int hour) const {
        const auto found = chosen_.find({hour, field});
        if (found == chosen_.end()) {
            return std::nullopt;
        }
        const Choice& choice = found->second;
        const GribSample* taken = choice.average != nullptr ? choice.average : choice.instant;
        if (taken == nullptr || taken->masked) {
            return std::nullopt;
        }
        return taken->value;
    }

private:
    struct Choice {
        const GribSample* average = nullptr;
        const GribSample* instant = nullptr;
    };
    std::map<std::pair<int, std::size_t>, Choice> chosen_;
};

// Every accumulation is the difference of the run's total at its two ends. The hours
// joined by accumulations, each with its total since the earliest hour it is joined to:
// worked out once for all rows, so the time grows with the samples, not with rows times
// samples.
class PrecipTotals {
public:
    explicit PrecipTotals(std::span<const GribSample> samples) {
        std::map<int, std::vector<std::pair<int, double>>> joined;
        for (const GribSample& sample : samples) {
            if (sample.field != fieldPrecip || sample.kind != TimeKind::accumulation ||
                sample.masked) {
                continue;
            }
            joined[sample.startHour].emplace_back(sample.endHour, sample.value);
            joined[sample.endHour].emplace_back(sample.startHour, -sample.value);
        }
        // In order of hours: each group starts from its earliest hour, at a total of 0.
        for (const auto& [start, edges] : joined) {
            if (reached_.contains(start)) {
                continue;
            }
            reached_.emplace(start, Total{start, 0.0});
            std::vector<int> waiting{start};
            while (!waiting.empty()) {
                const int hour = waiting.back();
                waiting.pop_back();
                const double total = reached_.at(hour).amount;
                for (const auto& [other, amount] : joined.at(hour)) {
                    if (reached_.emplace(other, Total{start, total + amount}).second) {
                        waiting.push_back(other);
                    }
                }
            }
        }
    }

    /// The amount from `from` to `to`, when accumulations join them.
    std::optional<double> between(int from, int to) const {
        if (from == to) {
            return 0.0;
        }
        const auto start = reached_.find(from);
        const auto end = reached_.find(to);
        if (start == reached_.end() || end == reached_.end() ||
            start->second.group != end->second.group) {
            return std::nullopt;
        }
        return end->second.amount - start->second.amount;
    }

    /// The earliest hour joined to `hour` (`hour` itself when none is).
    int earliestJoined(int hour) const {
        const auto found = reached_.find(hour);
        return found == reached_.end() ? hour : found->second.group;
    }

private:
    struct Total {
        int group = 0;  // the group's earliest hour
        double amount = 0.0;
    };
    std::map<int, Total> reached_;
};

std::optional<double> precipBetween(const PrecipTotals& totals, int from, int to) {
    const std::optional<double> amount = totals.between(from, to);
    if (!amount) {
        return std::nullopt;
    }
    // Differences of packed totals can fall a hair below zero where nothing fell.
    return std::max(*amount, 0.0);
}

double orMissing(std::optional<double> value) {
    return value ? *value : gribMissing;
}

std::optional<double> minus(std::optional<double> value, double offset) {
    return value ? std::optional<double>(*value - offset) : std::nullopt;
}

// "A", "A and B", "A, B and C".
std::string joinedNames(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += i == 0 ? "" : (i + 1 == names.size() ? " and " : ", ");
        text += names[i];
    }
    return text;
}

std::string hourList(const std::vector<int>& hours) {
    std::string text;
    for (const int hour : hours) {
        text += (text.empty() ? "" : ", ") + std::to_string(hour);
    }
    return text;
}

// One line for every field the files lack at some hour, the fields missing at the same
// hours named together: "no PRMSL and TMP 2 m (every hour), APCP (hours 3, 6) at ...".
std::optional<std::string> missingFieldsNote(
    const std::array<std::vector<int>, gribFieldCount>& missingHours, std::size_t rows) {
    std::vector<std::pair<std::vector<int>, std::vector<std::string>>> groups;
    for (std::size_t field = 0; field < gribFieldCount; ++field) {
        const std::vector<int>& hours = missingHours[field];
        if (hours.empty()) {
            continue;
        }
        auto same = std::find_if(groups.begin(), groups.end(),
                                 [&](const auto& group) { return group.first == hours; });
        if (same == groups.end()) {
            same = groups.insert(groups.end(), {hours, {}});
        }
        same->second.emplace_back(gribFieldNames[field]);
    }
    if (groups.empty()) {
        return std::nullopt;
    }
    std::string text;
    for (const auto& [hours, names] : groups) {
        text +=
            (text.empty() ? "" : ", ") + joinedNames(names) + " (" +
            (hours.size() == rows ? std::string("every hour")
                                  : (hours.size() == 1 ? "hour " : "hours ") + hourList(hours)) +
            ")";
    }
    return "no " + text + " at the point in the files; written as -9999";
}

}  // namespace

double windDirection(double u, double v) {
    return windFromDegrees(u, v);
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
    const FieldValues values(samples);
    const PrecipTotals totals(samples);
    GribTables tables;
    std::array<std::vector<int>, gribFieldCount> missingHours;
    std::optional<int> previous;
    for (const int hour : hours) {
        std::array<std::optional<double>, gribFieldCount> v;
        for (std::size_t field = 0; field < gribFieldCount; ++field) {
            if (field == fieldPrecip) {
                continue;
            }
            v[field] = values.at(static_cast<GribField>(field), hour);
            if (!v[field]) {
                missingHours[field].push_back(hour);
            }
        }
        std::optional<double> precip;
        if (previous) {
            precip = precipBetween(totals, *previous, hour);
            if (!precip) {
                tables.notes.push_back("precipitation for hours " + std::to_string(*previous) +
                                       " to " + std::to_string(hour) +
                                       " cannot be worked out from the files; written as -9999");
            }
        } else {
            precip = precipBetween(totals, 0, hour);
            if (!precip) {
                // The files start after the run's start: the longest period they give.
                const int earliest = totals.earliestJoined(hour);
                if (earliest < hour) {
                    precip = precipBetween(totals, earliest, hour);
                    tables.notes.push_back("precipitation of hour " + std::to_string(hour) +
                                           " is for hours " + std::to_string(earliest) + " to " +
                                           std::to_string(hour) +
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
    if (std::optional<std::string> note = missingFieldsNote(missingHours, tables.rows.size())) {
        tables.notes.push_back(std::move(*note));
    }
    return tables;
}
