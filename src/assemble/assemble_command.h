#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "blend/bulletin_check.h"

// `wxguide assemble`: the station blend's bulletin file made from saved products.

/// The usage line of the command, for the program's --help.
inline constexpr std::string_view assembleUsage =
    "wxguide assemble [-q] [--date DATE] [--output FILE] PRODUCT...";

/// Runs `wxguide assemble` with the arguments after "assemble", choosing the bulletins of
/// the stations of `set`. Writes the file to --output's FILE or to `out`, messages to `err`.
/// Returns the exit status: 0 written and checked, 1 not made, 2 a usage error.
int runAssemble(std::span<const char* const> arguments, std::ostream& out, std::ostream& err,
                const StationSet& set = fixedStationSet());
