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

/// Which table a run makes: options 2 to 5 read model column files, option 6 severe weather
/// files.
enum class TableKind { modelColumn, severeWeather };

/// What a data file's header shows it to be, when it is no file for the run at hand.
enum class ForeignFile { none, bulletins, modelColumn, severeWeather, bufkitProfile, grib2 };

/// Reads the header of a table run's data file from its start up to and including the word
/// "FHR": says whether the file is one that another run or command takes (a MOS or Blend
/// bulletin header or a BUFKIT parameter list before that word; for `kind`'s run, a first
/// line that names the other table's file; a GRIB2 file's opening bytes). Returns in
/// `foundFirstRow` whether "FHR" was read; `in` then stands right after it.
ForeignFile readTableHeader(ScanFile& in, TableKind kind, bool& foundFirstRow);

/// Starts a table run of `kind` on the opened data file `file`: refuses a file made for
/// another run, reads it with `data` and skips its header. False when the run must end;
/// the reason has been told on `messages`.
bool startTableFile(const DataFile& file, TableKind kind, ScanFile& data, std::ostream& messages);

/// The first line of the opened data file `file`, its runs of blanks made one blank and
/// cut to a title's length: what a model output file says it is.
std::string firstLineOf(const DataFile& file);

/// When no forecast hour at all could be read from the data file `name`, says so on
/// `messages`, naming the file, and returns true: no report is then written, so an older
/// one stays as it was. Otherwise confirms the file ("You have a valid file.").
bool tellNoRows(const std::string& name, int rowsRead, std::ostream& messages);

/// When only `rowsRead` of the `rowCount` forecast hours could be read from the data file
/// `name`, says so on `messages`; says nothing when all were read.
void tellMissingRows(const std::string& name, int rowsRead, int rowCount, std::ostream& messages);
