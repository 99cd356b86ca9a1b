#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

// The scores of forecasts against what was observed: the number of pairs, the bias
// (forecast minus observed), the mean absolute error and, for probabilities, the Brier
// score. Pooled over a set, each pair counts with its station's weight.

enum class Variable { max, min, pop12 };

/// The sources scored: the NBS, the GFS MOS (MAV) and its extended run (MEX), the blend at
/// the chosen ratio and the even blend.
enum class GuidanceSource { nbs, mav, mex, blend, evenBlend };

/// One forecast and what was observed for it: temperatures in F, PoP as 0 to 1 against 0
/// or 1.
struct VerifiedPair {
    std::size_t station = 0;  // in set order
    GuidanceSource source = GuidanceSource::nbs;
    Variable variable = Variable::max;
    int leadDay = 1;
    std::int64_t day = 0;        // the day the forecast is for
    std::int64_t runDay = 0;     // the day of its run
    std::int64_t validHour = 0;  // the hour the archive gives it at
    double forecast = 0;
    double observed = 0;
};

struct ScoreSum {
    std::size_t n = 0;
    double weight = 0;
    double error = 0;
    double absoluteError = 0;
    double squaredError = 0;
};

void addPair(ScoreSum& sum, double forecast, double observed, double weight);

struct Score {
    std::size_t n = 0;
    double bias = 0;
    double mae = 0;
    double brier = 0;  // the mean squared error: the Brier score of a probability
};

Score scoreOf(const ScoreSum& sum);

/// Where a score belongs: a station (its index) or, for pooledStation, the whole set.
struct ScoreKey {
    std::size_t station = 0;
    GuidanceSource source = GuidanceSource::nbs;
    Variable variable = Variable::max;
    int leadDay = 1;
    auto operator<=>(const ScoreKey&) const = default;
};

inline constexpr std::size_t pooledStation = static_cast<std::size_t>(-1);

/// Every pair summed by station, source, variable and lead day, and pooled over the
/// stations with `weights`.
std::map<ScoreKey, ScoreSum> scoreTable(std::span<const VerifiedPair> pairs,
                                        std::span<const double> weights);
