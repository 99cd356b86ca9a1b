#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "arith/station_set.h"
#include "stations/station_table.h"

// The station set as the forecaster gives it: typed with --stations ID=WEIGHT,..., or
// weighed by distance with --stations ID,... --city LAT,LON.

/// Typed weights must add up to 1 within this much.
inline constexpr double weightSumTolerance = 0.001;

/// What --stations gave: the ids in order, and their weights when they were typed.
struct StationRequest {
    std::vector<std::string> ids;
    std::vector<double> weights;  // empty: to be weighed by distance
};

/// A city's place in decimal degrees, north and east positive.
struct CityPoint {
    double latitude = 0.0;
    double longitude = 0.0;
};

/// Reads --stations' value, "KBKX=0.5,KFSD=0.5" or "KBKX,KFSD". False with the fault in
/// one line: no station or more than maxSetStations, an id given twice or not four letters
/// or digits, a weight that is no number or lies outside 0 to 1, weights given to some
/// stations only, typed weights that do not add up to 1.
bool readStationRequest(std::string_view text, StationRequest& request, std::string& fault);

/// Reads --city's value, "44.03,-97.22" (or that of `option`, which takes a place the same
/// way). False with the fault in one line, naming the option.
bool readCityPoint(std::string_view text, CityPoint& city, std::string& fault,
                   std::string_view option = "--city");

/// The set of `ids` weighed by inverse distance from `city`, and each station's distance
/// in km in set order. False with the fault when a station is not in the table.
bool weighFromCity(std::span<const std::string> ids, CityPoint city,
                   std::span<const StationPlace> table, StationSet& set,
                   std::vector<double>& distancesKm, std::string& fault);

/// The `count` stations of the table nearest to `city`, nearest first (the table's order
/// between equals).
std::vector<const StationPlace*> nearestStations(std::span<const StationPlace> table,
                                                 CityPoint city, std::size_t count);
