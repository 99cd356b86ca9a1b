#pragma once

#include <ostream>
#include <span>
#include <string>

#include "blend/station_blend.h"
#include "tables/model_table.h"
#include "tables/severe_weather.h"

// What a run may write beside its report: a picture (NAME.svg) and its tables as
// spreadsheet files (NAME.csv, and for option 1 NAME-hourly.csv too), NAME being the
// report's name without its "out".

/// What the forecaster asked for.
struct SideFiles {
    bool plot = false;
    bool csv = false;
};

/// The defaults: WXGUIDE_PLOT=1 asks for the picture, WXGUIDE_CSV=1 for the spreadsheets.
SideFiles sideFilesFromEnvironment();

/// Takes every --plot and --csv at the front of `arguments` into `sideFiles` and returns
/// the arguments after them.
std::span<const char* const> takeSideFileOptions(std::span<const char* const> arguments,
                                                 SideFiles& sideFiles);

/// The name beside the report of the data file `dataName`: the report's name without
/// "out" (and a point before it), then `ending` (gfs.txt and ".svg" give gfs.svg).
std::string sideFileName(const std::string& dataName, const std::string& ending);

/// Writes the files asked for beside a written report, each whole or not at all. False
/// when one could not be written; that has been told on `messages`, naming the file.
bool writeBlendSideFiles(const SideFiles& sideFiles, const StationBlendRecords& records,
                         std::ostream& messages);
bool writeModelSideFiles(const SideFiles& sideFiles, int option, const ModelTableRecords& records,
                         std::ostream& messages);
bool writeSevereSideFiles(const SideFiles& sideFiles, const SevereWeatherRecords& records,
                          std::ostream& messages);
