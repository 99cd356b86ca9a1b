#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "assemble/calendar_date.h"
#include "blend/bulletin_check.h"

// `wxguide assemble`: the station blend's bulletin file made from saved products.

/// The usage line of the command, for the program's --help.
inline constexpr std::string_view assembleUsage =
    "wxguide assemble [-q] [--date DATE] [--output FILE] PRODUCT...";

/// What `wxguide assemble` was asked for.
struct AssembleRequest {
    std::optional<CalendarDate> date;   // without it, the newest date that has them all
    std::optional<std::string> output;  // without it, standard output
    std::vector<std::string> products;  // "-" is standard input
    bool quiet = false;                 // no notes when all goes well
};

/// Runs `wxguide assemble` as `request` asks, choosing the bulletins of the stations of
/// `set`. Writes the file to the request's output or to `out`, messages to `err`. Returns
/// the exit status: 0 written and checked, 1 not made, 2 when the output is one of the products.
int runAssemble(const AssembleRequest& request, std::ostream& out, std::ostream& err,
                const StationSet& set = fixedStationSet());
