#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "arith/station_set.h"
#include "export/side_files.h"

/// The program's top level: shows the menu, runs the chosen option, and comes back
/// after every run until "7" or the end of input; option 1 blends the stations of `set`.
/// Every run writes the files of `sideFiles` beside its report. Returns the exit status:
/// 1 when a report (or a file beside it) could not be written or the console output
/// failed, else 0.
int runMainMenu(const StationSet& set, const SideFiles& sideFiles = {});

/// One choice typed at the menu: the option `word` names, its data file and (for option 1)
/// its ratio asked on `console` and read from `typed`, then its run, which tells `console`
/// everything. A word that names no run is told so. False only when the run's report (or
/// a file beside it) could not be written.
bool runMenuChoice(const std::string& word, std::istream& typed, std::ostream& console,
                   const StationSet& set, const SideFiles& sideFiles = {});
