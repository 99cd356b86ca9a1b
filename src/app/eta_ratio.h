#pragma once

#include <string>

// The ETA weight of option 1 as typed, at the menu's prompt or after `run 1 ... --ratio`.

/// A typed ETA weight: a whole decimal number from 0 to 1.
enum class RatioWord { ratio, notANumber, outOfRange };

/// Reads `word` as the ETA weight into `etaRatio`, as the prompt takes it.
RatioWord readEtaRatio(const std::string& word, double& etaRatio);
