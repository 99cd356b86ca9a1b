#pragma once

#include <cstddef>
#include <span>

#include "verify/pairs.h"

// The NBS ratio that would have served the set best: from 0 to 1 in steps of 0.05, the one
// with the lowest pooled day-1-and-2 MAE of max and min (or Brier score of the PoP12).

/// Which score the ratio is chosen by.
enum class RatioScore { maxMinMae, pop12Brier };

/// Steps from 0 to 1: 20 steps of 0.05.
inline constexpr int ratioSteps = 20;

/// Fewer pairs than this make the suggestion a guess, and the forecaster is told.
inline constexpr std::size_t fewPairs = 30;

struct RatioSearch {
    std::size_t pairs = 0;      // day-1-and-2 blend pairs of the variables scored
    double ratio = 0.5;         // the best; on a tie the one nearest 0.5
    double best = 0;            // its score
    double even = 0;            // at 0.5
    double nbsAlone = 0;        // at 1
    double mosAlone = 0;        // at 0
    double inverseRatio = 0.5;  // the NBS share weighted by the inverse of each one's score
};

/// The pooled score of the blend at `ratio`, with the stations' `weights`.
double pooledBlendScore(std::span<const BlendPair> pairs, std::span<const double> weights,
                        double ratio, RatioScore score);

/// Searches the ratios; with no pairs, everything 0 but the ratios at 0.5.
RatioSearch searchRatio(std::span<const BlendPair> pairs, std::span<const double> weights,
                        RatioScore score);
