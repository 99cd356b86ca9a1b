#pragma once

#include <optional>
#include <ostream>
#include <span>

// The command line of a tool driven by its menu: only --help and --version answer at once.

/// Answers the arguments after the program name. Empty when there are none: the menu runs.
/// Otherwise the exit status after --help or --version (0, text on `out`) or after any
/// other argument (2, the usage on `err`).
std::optional<int> answerCommandLine(std::span<const char* const> arguments, std::ostream& out,
                                     std::ostream& err);
