#pragma once

#include <map>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "verify/ratio_search.h"
#include "verify/scores.h"

// What the forecaster reads: the pooled scores by source and lead day, the suggested
// ratio, and the CSV of every station's scores and every pair.

/// The source's name in the table and the CSV ("NBS", "blend 0.65").
std::string sourceName(GuidanceSource source, double ratio);

/// The variable's name in the CSV: max, min, pop12.
std::string_view variableName(Variable variable);

/// The pooled table: a block per variable, a row per source, a column per lead day with
/// the MAE (the Brier score for the PoP12), the bias and the pairs.
void writeScoreTable(std::ostream& out, const std::map<ScoreKey, ScoreSum>& table, double ratio);

/// "Suggested ratio: 0.65 (MAE 2.31 F over 240 pairs; 0.5 gives 2.44, NBS alone 2.52, GFS MOS
/// alone 2.61)", the inverse-MAE ratio, the PoP12's own, and a warning under fewPairs.
void writeSuggestion(std::ostream& out, const RatioSearch& maxMin, const RatioSearch& pop12);

/// The CSV: a row per station (or "pooled"), source, variable and lead day, then, after a
/// blank line, a row per day and pair.
void writeVerifyCsv(std::ostream& out, const std::map<ScoreKey, ScoreSum>& table,
                    std::span<const VerifiedPair> pairs, std::span<const std::string> stations,
                    double ratio);
