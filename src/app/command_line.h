#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string_view>

#include "arith/station_set.h"
#include "export/side_files.h"

// The command line of a tool driven by its menu: --help, --version and the commands
// (run, assemble, stations, and the station set before them) answer at once.

/// Answers the arguments after the program name. Empty when there are none: the menu runs.
/// Otherwise the exit status: a command's own, 0 after --help or --version (text on `out`),
/// or 2 after any other argument (the fault on one line on `err`, then where help is).
/// Station set options with no command after them are no answer either: the menu runs with
/// the set they give, left in `menuSet` (the four stations when none is given).
/// `invokedAs` is the program's argv[0], which may tell where its station table is.
/// --plot and --csv in front of it all, or the environment's defaults, choose the files
/// written beside each report, left in `sideFiles` for the menu when given.
std::optional<int> answerCommandLine(std::span<const char* const> arguments, std::ostream& out,
                                     std::ostream& err, StationSet& menuSet,
                                     std::string_view invokedAs = {},
                                     SideFiles* sideFiles = nullptr);
