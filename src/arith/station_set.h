#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

/// At most this many stations make a set.
inline constexpr std::size_t maxSetStations = 8;

/// The stations a city's forecast blends: their ids in the order the bulletin file holds
/// them, and the weight of each in the same order, used as they stand.
struct StationSet {
    std::vector<std::string> ids;
    std::vector<double> weights;
};

/// One station of the set the blend takes when the forecaster gives none.
struct FixedStation {
    std::string_view id;
    double weight;
};

/// The four stations around the city in file order, with their fixed weights. The weights
/// sum to 1.000004146 and are used as they stand, never normalised.
inline constexpr std::array<FixedStation, 4> fixedStations = {{
    {"KBKX", 0.353460408},
    {"KHON", 0.1793834},
    {"KMHE", 0.215645378},
    {"KFSD", 0.25151496},
}};

/// The four stations with their fixed weights: the set when the forecaster gives none.
inline StationSet fixedStationSet() {
    StationSet set;
    for (const FixedStation& station : fixedStations) {
        set.ids.emplace_back(station.id);
        set.weights.push_back(station.weight);
    }
    return set;
}
