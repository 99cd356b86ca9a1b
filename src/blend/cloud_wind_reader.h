#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "blend/bulletin_check.h"

/// A short-range group's values, a row per station: CLD cloud codes of columns 1-19
/// (indexes 0-18), WDR (19-37) and WSP in knots (38-56) of the same columns. An NBS
/// bulletin gives SKY / 10.0, WDR and WSP at hours 6, 9, ..., 60; its cloud value is the
/// only one that need not be whole.
using CloudWindElements = std::array<std::array<double, 57>, maxSetStations>;

/// Where each row's 19 values start in a station's short-range values.
struct CloudWindOffsets {
    std::size_t cloud = 0;
    std::size_t direction = 19;
    std::size_t speed = 38;
};
inline constexpr CloudWindOffsets cloudWindAt{};

/// The MRF group's values, a row per station: CLD cloud codes of columns 5-15 (0-10) and
/// WND in knots of the same columns (11-21).
using MrfCloudWindElements = std::array<std::array<std::int32_t, 22>, maxSetStations>;

/// Where each row's 11 values start in a station's extended-range values.
struct MrfCloudWindOffsets {
    std::size_t cloud = 0;
    std::size_t wind = 11;
};
inline constexpr MrfCloudWindOffsets mrfCloudWindAt{};

/// Reads the cloud and wind rows of the 3N bulletins of a checked file of the
/// N stations of `set` into the three arrays, each bulletin within the bounds the check found,
/// cloud words as codes from 0 (clear) to 10 (overcast); an unknown word leaves its cell as it was.
/// On false, `unread` names the first row missing or not read in full.
bool readCloudWindElements(CloudWindElements& etaCloudWind, CloudWindElements& avnCloudWind,
                           MrfCloudWindElements& mrfCloudWind, const DataFile& data,
                           const BulletinFileBounds& bounds, const StationSet& set,
                           UnreadRow& unread);

/// The same on the text of a bulletin file held in memory.
bool readCloudWindElements(CloudWindElements& etaCloudWind, CloudWindElements& avnCloudWind,
                           MrfCloudWindElements& mrfCloudWind, std::string_view text,
                           const BulletinFileBounds& bounds, const StationSet& set,
                           UnreadRow& unread);

/// Reads the rows of one bulletin of `group` (0 to 2) within `bounds` of `text`, as the
/// reading of a whole file reads it, and keeps none of its values. On false, `label` names
/// the first row missing or not read in full.
bool readCloudWindBulletin(std::string_view text, const BulletinBounds& bounds, int group,
                           std::string_view& label);
