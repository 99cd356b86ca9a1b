#pragma once

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "arith/station_set.h"
#include "stations/set_options.h"
#include "stations/station_table.h"

// The station table a set is weighed from, and the `wxguide stations` listing of a set.

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

/// Reads the first station table found; false with the fault on `err`.
bool loadTable(const StationTableSearch& search, std::vector<StationPlace>& table,
               std::ostream& err);

/// A set as `wxguide stations` lists it: weighed from a city, each station's place and
/// its distance from the city, in set order; typed or fixed, the set alone.
struct ListedSet {
    StationSet set;
    std::vector<StationPlace> places;
    std::vector<double> distancesKm;
};

/// The set of `ids` weighed by inverse distance from `city`. False with the fault when a
/// station is not in the table.
bool weighListedSet(std::span<const std::string> ids, CityPoint city,
                    std::span<const StationPlace> table, ListedSet& listed, std::string& fault);

/// The `count` stations of the table nearest to `city`, nearest first, weighed by inverse
/// distance as a set would be.
ListedSet nearestListedSet(std::span<const StationPlace> table, CityPoint city, std::size_t count);

/// Writes the set, one station a line: its id and weight, and with places their distance
/// and name. Returns the exit status: 0, or 1 when `out` failed.
int writeStationList(const ListedSet& listed, std::ostream& out);
