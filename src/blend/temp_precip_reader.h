#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "blend/bulletin_check.h"

/// A short-range group's values, a row per station: N/X values 1-4 (indexes 0-3), DPT
/// values 7, 11, 15 and 19 (4-7), P12 values 1-4 (8-11). An NBS bulletin gives TXN, DPT
/// and P12 at hours 24, 36, 48 and 60 in their place.
using TempPrecipElements = std::array<std::array<std::int32_t, 12>, maxSetStations>;

/// Where each row's four values start in a station's short-range values.
struct TempPrecipOffsets {
    std::size_t maxMin = 0;
    std::size_t dewPoint = 4;
    std::size_t precipitation = 8;
};
inline constexpr TempPrecipOffsets tempPrecipAt{};

/// The MRF group's values, a row per station: X/N columns 6-14 even (0-4) and 7-15 odd
/// (5-9), DPT likewise (10-14, 15-19), P24 day values of columns 7-15 (20-24).
using MrfTempPrecipElements = std::array<std::array<std::int32_t, 25>, maxSetStations>;

/// Where each run of five values (days 3 to 7) starts in a station's extended-range values.
struct MrfTempPrecipOffsets {
    std::size_t maxMinEven = 0;
    std::size_t maxMinOdd = 5;
    std::size_t dewPointEven = 10;
    std::size_t dewPointOdd = 15;
    std::size_t precipitation = 20;
};
inline constexpr MrfTempPrecipOffsets mrfTempPrecipAt{};

/// Reads the temperature, dew point and precipitation rows of the 3N bulletins of a checked
/// file of the N stations of `set` into the three arrays, each bulletin within the bounds
/// the check found. On false, `unread` names the first row that was missing or could not
/// be read in full; the arrays then hold what was read up to there.
bool readTempPrecipElements(TempPrecipElements& etaTempPrecip, TempPrecipElements& avnTempPrecip,
                            MrfTempPrecipElements& mrfTempPrecip, const DataFile& data,
                            const BulletinFileBounds& bounds, const StationSet& set,
                            UnreadRow& unread);

/// The same on the text of a bulletin file held in memory.
bool readTempPrecipElements(TempPrecipElements& etaTempPrecip, TempPrecipElements& avnTempPrecip,
                            MrfTempPrecipElements& mrfTempPrecip, std::string_view text,
                            const BulletinFileBounds& bounds, const StationSet& set,
                            UnreadRow& unread);

/// Reads the rows of one bulletin of `group` (0 to 2) within `bounds` of `text`, as the
/// reading of a whole file reads it, and keeps none of its values. On false, `label` names
/// the first row missing or not read in full.
bool readTempPrecipBulletin(std::string_view text, const BulletinBounds& bounds, int group,
                            std::string_view& label);
