#pragma once

#include <ostream>
#include <string>
#include <vector>

// Model output files write -9999 where their source had no value. Such a value is no
// weather: it is never converted nor put into a formula, and the report shows it as M.

/// The value a model output file writes where its source has none.
inline constexpr double missingValue = -9999;

/// True when a value read from a data file is the missing marker, exactly.
bool isMissing(double fileValue);

/// What the report writes in place of a missing value, padded to the column like a number.
inline constexpr const char* missingMark = "M";

/// Writes `value` into the report, or M when `missing`; either after its own setw(`width`).
void writeTableValue(std::ostream& report, int width, double value, bool missing);

/// Says on `messages`, in one line, which report columns of the data file `name` hold
/// missing values, `headings` in report order; says nothing when there are none.
void tellMissingValues(const std::string& name, const std::vector<std::string>& headings,
                       std::ostream& messages);
