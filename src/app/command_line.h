#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string_view>

#include "arith/station_set.h"
#include "export/side_files.h"

// The command line of a tool driven by its menu: --help, --version and the commands
// (run, assemble, extract, stations, and the station set before them) answer at once.

/// What the command line answers: an exit status, or the menu to run with a set and the
/// files it writes beside each report.
struct CommandLineAnswer {
    std::optional<int> status;  // empty: the menu runs
    StationSet menuSet;         // with no status: the four fixed stations, or the set given
    SideFiles sideFiles;
};

/// Answers the arguments after the program name. No status when there are none: the menu
/// runs. Otherwise the exit status: a command's own, 0 after --help or --version (text on
/// `out`), or 2 after any other argument (the fault on one line on `err`, then where help
/// is). Station set options with no command after them are no answer either: the menu
/// runs with the set they give. `invokedAs` is the program's argv[0], which may tell where
/// its station table is. --plot and --csv in front of it all, or the environment's
/// defaults, choose the files written beside each report.
CommandLineAnswer answerCommandLine(std::span<const char* const> arguments, std::ostream& out,
                                    std::ostream& err, std::string_view invokedAs = {});

/// The whole program: the command line answered on standard output and standard error,
/// or the menu on the console. Returns the exit status.
int runProgram(std::span<const char* const> arguments, std::string_view invokedAs);
