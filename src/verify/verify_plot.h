#pragma once

#include <span>
#include <string>
#include <vector>

#include "verify/scores.h"

// The picture of a verification: the pooled MAE of max and min by lead day for each source,
// then the observed and forecast day-1 max and min by date at the city (the stations
// weighted as the blend weights them).

std::string verifyChartSvg(std::span<const VerifiedPair> pairs, std::span<const double> weights,
                           double ratio, const std::string& title);
