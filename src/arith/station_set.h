#pragma once

#include <cstddef>
#include <string>
#include <vector>

/// At most this many stations make a set.
inline constexpr std::size_t maxSetStations = 8;

/// The stations a city's forecast blends: their ids in the order the bulletin file holds
/// them, and the weight of each in the same order, used as they stand.
struct StationSet {
    std::vector<std::string> ids;
    std::vector<double> weights;
};
