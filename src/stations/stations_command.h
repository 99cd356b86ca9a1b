#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "arith/station_set.h"
#include "stations/station_table.h"

// The station set of a session (--stations, --city, before the command) and the
// `wxguide stations` command that shows it.

/// The usage line of the command, for the program's --help.
inline constexpr std::string_view stationsUsage =
    "wxguide [--stations SET] [--city LAT,LON] stations [--count N]";

/// Where the station table is looked for: the program's own file, and the folder that
/// WXGUIDE_DATA names (empty when unset).
struct StationTableSearch {
    std::filesystem::path program;
    std::string dataFolder;
};

/// The search of the running program, started as `invokedAs` (its argv[0]).
StationTableSearch stationTableSearch(std::string_view invokedAs);

/// The station set kept in the environment: WXGUIDE_STATIONS as --stations takes it and
/// WXGUIDE_CITY as --city takes it (unset when a variable is unset or empty).
struct SetEnvironment {
    std::optional<std::string> stations;
    std::optional<std::string> city;
};

/// The running program's environment.
SetEnvironment setEnvironment();

/// Reads the first station table found; false with the fault on `err`.
bool loadTable(const StationTableSearch& search, std::vector<StationPlace>& table,
               std::ostream& err);

/// True when the arguments starting with `first` are a session with a station set or the
/// `stations` command, for runStationSession.
bool startsStationSession(std::string_view first);

/// Reads --stations and --city, settles the set, and runs the command after them with it:
/// `stations` shows the set, `assemble` picks its stations' bulletins. Returns the exit
/// status: the command's own, 2 after a fault in the options (one line on `err`), 1 when
/// the station table is needed and cannot be read. With no command after the options, or
/// with `run`, it returns nothing and leaves the set in `sessionSet` and the words from
/// `run` on in `runArguments` (empty for the menu): the caller runs them with the set.
/// A variable of `environment` stands for its option when that is not given, unless it
/// clashes with one given (typed weights take no city); `stations` then says which were used.
std::optional<int> runStationSession(std::span<const char* const> arguments,
                                     const StationTableSearch& search,
                                     const SetEnvironment& environment, std::ostream& out,
                                     std::ostream& err, StationSet& sessionSet,
                                     std::span<const char* const>& runArguments);
