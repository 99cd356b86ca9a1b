#pragma once

#include <istream>
#include <optional>
#include <ostream>

#include "io/data_file.h"

// What the menu asks the forecaster, and how the typed answers are taken: every prompt,
// and every answer asked again, is here; the runs take what it gives as arguments.

/// The data-file dialogue every menu run begins with: asks on `console` for the name,
/// reads one word (or a name between double quotes, which may hold blanks) from `typed`,
/// and opens that file as openNamedDataFile does, telling `console`. False when no file
/// was opened; the run then ends.
bool askDataFile(DataFile& data, std::istream& typed, std::ostream& console);

/// Asks for option 1's ETA weight until a number from 0 to 1 is typed; none when the input
/// ends first, which has been told.
std::optional<double> askEtaRatio(std::istream& typed, std::ostream& console);
