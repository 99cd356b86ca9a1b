#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "extract/extract_command.h"
#include "stations/stations_command.h"

// The words of `wxguide extract`, and the place its GRIB2 files are read at.

/// Reads the words after `extract` into `request`; false with the fault, one line, in
/// `fault`: an unknown option, a value missing or given twice, a step outside 1 to 240, no
/// profile, a place given twice, or a second profile with no place for GRIB2 files.
bool readExtractRequest(std::span<const char* const> arguments, ExtractRequest& request,
                        std::string& fault);

/// Settles `place` from --point or --station, the station looked up in the table that
/// `tableSearch` finds; nothing when neither is given or the build reads no GRIB2. The exit
/// status when it cannot be settled, the fault told on `err`: 1 when the table cannot be
/// read, 2 for a station not in it or a point that is no place.
std::optional<int> settleExtractPlace(const ExtractRequest& request,
                                      const StationTableSearch& tableSearch,
                                      std::optional<ExtractPlace>& place, std::ostream& err);

/// Runs `wxguide extract` on the words after it: reads them, settles the place and
/// extracts. Returns the exit status.
int runExtractCommand(std::span<const char* const> arguments, const StationTableSearch& tableSearch,
                      std::ostream& out, std::ostream& err);
