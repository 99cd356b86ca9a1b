#pragma once

#include <istream>
#include <string>

// What the model column and severe weather runs share: finding the first row of a
// model output file, and telling the forecaster when the rows run out early.

/// Skips the header of a model output file up to and including the word "FHR". When the
/// file has no such word, says so on the console, naming the file, and returns false.
bool skipToFirstRow(std::istream& in, const std::string& name);

/// When only `rowsRead` of the `rowCount` forecast hours could be read from the data file
/// `name`, says so on the console; says nothing when all were read.
void tellMissingRows(const std::string& name, int rowsRead, int rowCount);
