#pragma once

#include <ostream>
#include <span>
#include <string>

#include "io/data_file.h"
#include "scan/scan_file.h"

// What the model column and severe weather runs share: the column list of a report,
// finding the first row of a model output file, and telling the forecaster when the
// rows run out early.

/// One report column: its heading and the width that the heading and every value take.
struct TableColumn {
    const char* heading;
    int width;
};

/// Writes the headings of `columns` as one report line, each padded to its column.
void writeHeadingLine(std::ostream& report, std::span<const TableColumn> columns);

/// Starts a table run on the opened data file `file`: confirms it, reads it with `data` and
/// skips its header. False when the run must end; the reason has been told on `messages`.
bool startTableFile(const DataFile& file, ScanFile& data, std::ostream& messages);

/// The first line of the opened data file `file`, its runs of blanks made one blank and
/// cut to a title's length: what a model output file says it is.
std::string firstLineOf(const DataFile& file);

/// Skips the header of a model output file up to and including the word "FHR". When the
/// file has no such word, says so on `messages`, naming the file, and returns false.
bool skipToFirstRow(ScanFile& in, const std::string& name, std::ostream& messages);

/// When no forecast hour at all could be read from the data file `name`, says so on
/// `messages`, naming the file, and returns true: no report is then written, so an older
/// one stays as it was.
bool tellNoRows(const std::string& name, int rowsRead, std::ostream& messages);

/// When only `rowsRead` of the `rowCount` forecast hours could be read from the data file
/// `name`, says so on `messages`; says nothing when all were read.
void tellMissingRows(const std::string& name, int rowsRead, int rowCount, std::ostream& messages);
