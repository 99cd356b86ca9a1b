#include "blend/temp_precip_reader.h"

#include <algorithm>

#include "blend/blend_rows.h"
#include "blend/guidance_groups.h"
#include "blend/row_scan.h"

namespace {

// Made once for the whole program and opened anew on every call.
ScanFile tempPrecipStream;

using TempPrecipValues = std::array<std::int32_t, 12>;
using MrfTempPrecipValues = std::array<std::int32_t, 25>;
using MrfColumnValues = std::array<std::int32_t, 5>;

// Columns 1-5 are passed over; then columns 6, 8, ..., 14 go to `even` and 7, 9, ..., 15
// to `odd`. The "|" after columns 1, 3, ..., 13 is attached to its value and read as one
// character, whichever character it is.
bool readMrfColumns(BulletinWalk& walk, MrfColumnValues& even, MrfColumnValues& odd) {
    std::int32_t passedOver = 0;
    if (!readRowInteger(walk, passedOver) || !readSeparator(walk)) {
        return false;
    }
    for (int pair = 0; pair < 2; ++pair) {
        if (!readRowInteger(walk, passedOver) || !readRowInteger(walk, passedOver) ||
            !readSeparator(walk)) {
            return false;
        }
    }
    for (std::size_t pair = 0; pair < even.size(); ++pair) {
        if (!readRowInteger(walk, even[pair]) || !readRowInteger(walk, odd[pair])) {
            return false;
        }
        if (!readPairEnd(walk, pair + 1 == even.size())) {
            return false;
        }
    }
    return true;
}

/// Reads the N/X, DPT and P12 rows of the next short-range bulletin.
bool readTempPrecipRows(TempPrecipValues& values, BulletinWalk& walk,
                        std::string_view& unreadLabel) {
    unreadLabel = "N/X";
    if (!findRow(walk, "N/X") || !readRowIntegers(walk, values.data(), 4)) {
        return false;
    }
    // Of the nineteen dew points only those of columns 7, 11, 15 and 19 are kept.
    unreadLabel = "DPT";
    if (!findRow(walk, "DPT")) {
        return false;
    }
    std::int32_t dewPoint = 0;
    for (int column = 1; column <= 19; ++column) {
        if (!readRowInteger(walk, dewPoint)) {
            return false;
        }
        if (column >= 7 && column % 4 == 3) {
            values[tempPrecipAt.dewPoint + static_cast<std::size_t>((column - 7) / 4)] = dewPoint;
        }
    }
    unreadLabel = "P12";
    return findRow(walk, "P12") &&
           readRowIntegers(walk, values.data() + tempPrecipAt.precipitation, 4);
}

/// Reads TXN, DPT and P12 at hours 24, 36, 48 and 60 of the next NBS bulletin: where a
/// short-range bulletin gives its four N/X values, dew points 7, 11, 15, 19 and four P12.
/// A bulletin with no TXN row gives its max/min in an N/X row, by the same fields.
bool readBlendTempPrecipRows(TempPrecipValues& values, ScanFile& in, const BulletinBounds& bounds,
                             std::string_view& unreadLabel) {
    BlendRows rows;
    unreadLabel = "FHR";
    if (!readBlendRows(in, bounds, rows)) {
        return false;
    }
    const std::string_view maxMin = blendRowFound(rows, "TXN") || !blendRowFound(rows, "N/X")
                                        ? std::string_view("TXN")
                                        : std::string_view("N/X");
    return blendValuesAtHours(in, rows, maxMin, 24, 12, 4, values.data() + tempPrecipAt.maxMin,
                              unreadLabel) &&
           blendValuesAtHours(in, rows, "DPT", 24, 12, 4, values.data() + tempPrecipAt.dewPoint,
                              unreadLabel) &&
           blendValuesAtHours(in, rows, "P12", 24, 12, 4,
                              values.data() + tempPrecipAt.precipitation, unreadLabel);
}

/// Reads the X/N, DPT and P24 rows of the next extended-range bulletin.
bool readMrfTempPrecipRows(MrfTempPrecipValues& values, BulletinWalk& walk,
                           std::string_view& unreadLabel) {
    MrfColumnValues even{};
    MrfColumnValues odd{};
    unreadLabel = "X/N";
    if (!findRow(walk, "X/N") || !readMrfColumns(walk, even, odd)) {
        return false;
    }
    // The last maximum of some bulletins runs into the figures after it; only such
    // an overlong value is cut back to its leading part.
    if (odd[4] > 999) {
        odd[4] = odd[4] / 1000000;
    }
    std::copy(even.begin(), even.end(), values.begin() + mrfTempPrecipAt.maxMinEven);
    std::copy(odd.begin(), odd.end(), values.begin() + mrfTempPrecipAt.maxMinOdd);

    unreadLabel = "DPT";
    if (!findRow(walk, "DPT") || !readMrfColumns(walk, even, odd)) {
        return false;
    }
    std::copy(even.begin(), even.end(), values.begin() + mrfTempPrecipAt.dewPointEven);
    std::copy(odd.begin(), odd.end(), values.begin() + mrfTempPrecipAt.dewPointOdd);

    // Column 1 of P24 is blank, so its "|" stands alone; the days of columns 3 and 5 are
    // passed over and those of columns 7 to 15 kept.
    unreadLabel = "P24";
    std::string passedOver;
    if (!findRow(walk, "P24") || !readSeparatorAndWord(walk, passedOver) ||
        !readRowWord(walk, passedOver)) {
        return false;
    }
    for (std::size_t day = 0; day < 5; ++day) {
        if (!readRowInteger(walk, values[mrfTempPrecipAt.precipitation + day])) {
            return false;
        }
        if (!readPairEnd(walk, day == 4)) {
            return false;
        }
    }
    return true;
}

bool readTempPrecipFrom(ScanFile& in, TempPrecipElements& etaTempPrecip,
                        TempPrecipElements& avnTempPrecip, MrfTempPrecipElements& mrfTempPrecip,
                        const BulletinFileBounds& bounds, const StationSet& set,
                        UnreadRow& unread) {
    const bool complete = readEveryBulletin(
        in, bounds, set, unread,
        [&](int bulletin, const BulletinBounds& body, BulletinWalk& walk, std::string_view& label) {
            const std::size_t station = static_cast<std::size_t>(bulletin) % set.ids.size();
            const int group = bulletinGroupOf(bulletin, set.ids.size());
            if (body.blend) {
                return readBlendTempPrecipRows(etaTempPrecip[station], walk.in, body, label);
            }
            switch (guidanceGroups[static_cast<std::size_t>(group)].kind) {
                case GuidanceKind::namMos:
                    return readTempPrecipRows(etaTempPrecip[station], walk, label);
                case GuidanceKind::gfsMos:
                    return readTempPrecipRows(avnTempPrecip[station], walk, label);
                default:
                    return readMrfTempPrecipRows(mrfTempPrecip[station], walk, label);
            }
        });
    closeScanFile(in);
    return complete;
}

}  // namespace

bool readTempPrecipElements(TempPrecipElements& etaTempPrecip, TempPrecipElements& avnTempPrecip,
                            MrfTempPrecipElements& mrfTempPrecip, const DataFile& data,
                            const BulletinFileBounds& bounds, const StationSet& set,
                            UnreadRow& unread) {
    openBulletinFile(tempPrecipStream, data);
    return readTempPrecipFrom(tempPrecipStream, etaTempPrecip, avnTempPrecip, mrfTempPrecip, bounds,
                              set, unread);
}

bool readTempPrecipElements(TempPrecipElements& etaTempPrecip, TempPrecipElements& avnTempPrecip,
                            MrfTempPrecipElements& mrfTempPrecip, std::string_view text,
                            const BulletinFileBounds& bounds, const StationSet& set,
                            UnreadRow& unread) {
    openBulletinText(tempPrecipStream, text);
    return readTempPrecipFrom(tempPrecipStream, etaTempPrecip, avnTempPrecip, mrfTempPrecip, bounds,
                              set, unread);
}

bool readTempPrecipBulletin(std::string_view text, const BulletinBounds& bounds, int group,
                            std::string_view& label) {
    openBulletinText(tempPrecipStream, text);
    BulletinWalk walk{tempPrecipStream, {}, nullptr};
    label = "header";
    TempPrecipValues values{};
    MrfTempPrecipValues mrfValues{};
    bool read = startBulletin(walk, bounds);
    if (read && bounds.blend) {
        read = readBlendTempPrecipRows(values, tempPrecipStream, bounds, label);
    } else if (read) {
        read = group < 2 ? readTempPrecipRows(values, walk, label)
                         : readMrfTempPrecipRows(mrfValues, walk, label);
    }
    closeScanFile(tempPrecipStream);
    return read;
}
