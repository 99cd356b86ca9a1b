#include "blend/cloud_wind_reader.h"

#include <algorithm>

#include "blend/blend_rows.h"
#include "blend/guidance_groups.h"
#include "blend/row_scan.h"

namespace {

// Made once for the whole program and opened anew on every call.
ScanFile cloudWindStream;

using CloudWindValues = std::array<double, 57>;
using MrfCloudWindValues = std::array<std::int32_t, 22>;

struct CloudWord {
    std::string_view word;
    std::int32_t code;
};

// Cloud cover from 0 (clear) to 10 (overcast). The extended range knows only clear,
// partly cloudy and overcast, and attaches the day's "|" to its word.
// Few clouds (FW, up to 2/8) takes the middle of its range in tenths, as SC and BK do.
constexpr std::array<CloudWord, 5> shortRangeClouds = {
    {{"CL", 0}, {"FW", 1}, {"SC", 3}, {"BK", 7}, {"OV", 10}}};
constexpr std::array<CloudWord, 6> extendedClouds = {
    {{"CL", 0}, {"CL|", 0}, {"PC", 5}, {"PC|", 5}, {"OV", 10}, {"OV|", 10}}};

// A word the table does not know leaves the cell as it was.
template <std::size_t size, typename Cell>
void storeCloudCode(const std::array<CloudWord, size>& clouds, const std::string& word,
                    Cell& code) {
    for (const CloudWord& cloud : clouds) {
        if (word == cloud.word) {
            code = cloud.code;
            return;
        }
    }
}

/// Reads the CLD, WDR and WSP rows (columns 1-19) of the next short-range bulletin.
bool readCloudWindRows(CloudWindValues& values, BulletinWalk& walk, std::string_view& unreadLabel) {
    unreadLabel = "CLD";
    if (!findRow(walk, "CLD")) {
        return false;
    }
    std::string word;
    for (std::size_t column = 0; column < 19; ++column) {
        if (!readRowWord(walk, word)) {
            return false;
        }
        storeCloudCode(shortRangeClouds, word, values[cloudWindAt.cloud + column]);
    }
    std::array<std::int32_t, 19> winds{};
    unreadLabel = "WDR";
    if (!findRow(walk, "WDR") || !readRowIntegers(walk, winds.data(), 19)) {
        return false;
    }
    std::copy(winds.begin(), winds.end(), values.begin() + cloudWindAt.direction);
    unreadLabel = "WSP";
    if (!findRow(walk, "WSP") || !readRowIntegers(walk, winds.data(), 19)) {
        return false;
    }
    std::copy(winds.begin(), winds.end(), values.begin() + cloudWindAt.speed);
    return true;
}

// An NBS station's cloud cover is its SKY percentage in tenths, where a code stands.
constexpr double skyPercentPerCode = 10.0;

/// Reads SKY, WDR and WSP at hours 6, 9, ..., 60 of the next NBS bulletin: where a
/// short-range bulletin gives its 19 CLD, WDR and WSP columns.
bool readBlendCloudWindRows(CloudWindValues& values, ScanFile& in, const BulletinBounds& bounds,
                            std::string_view& unreadLabel) {
    BlendRows rows;
    std::array<std::int32_t, 19> sky{};
    std::array<std::int32_t, 19> direction{};
    std::array<std::int32_t, 19> speed{};
    unreadLabel = "FHR";
    if (!readBlendRows(in, bounds, rows) ||
        !blendValuesAtHours(in, rows, "SKY", 6, 3, 19, sky.data(), unreadLabel) ||
        !blendValuesAtHours(in, rows, "WDR", 6, 3, 19, direction.data(), unreadLabel) ||
        !blendValuesAtHours(in, rows, "WSP", 6, 3, 19, speed.data(), unreadLabel)) {
        return false;
    }
    for (std::size_t hour = 0; hour < 19; ++hour) {
        values[cloudWindAt.cloud + hour] = sky[hour] / skyPercentPerCode;
        values[cloudWindAt.direction + hour] = direction[hour];
        values[cloudWindAt.speed + hour] = speed[hour];
    }
    return true;
}

/// Reads the CLD and WND rows (columns 5-15) of the next extended-range bulletin.
bool readMrfCloudWindRows(MrfCloudWindValues& values, BulletinWalk& walk,
                          std::string_view& unreadLabel) {
    std::string word;
    unreadLabel = "CLD";
    if (!findRow(walk, "CLD")) {
        return false;
    }
    // Columns 1-4 are days already covered by the short range; each is one word.
    for (int column = 1; column <= 15; ++column) {
        if (!readRowWord(walk, word)) {
            return false;
        }
        if (column >= 5) {
            storeCloudCode(extendedClouds, word,
                           values[mrfCloudWindAt.cloud + static_cast<std::size_t>(column - 5)]);
        }
    }
    unreadLabel = "WND";
    if (!findRow(walk, "WND")) {
        return false;
    }
    for (int column = 1; column <= 4; ++column) {
        if (!readRowWord(walk, word)) {
            return false;
        }
    }
    // Column 5 and its "|", then columns 6-15 in pairs, each pair followed by a "|".
    if (!readRowInteger(walk, values[mrfCloudWindAt.wind]) || !readSeparator(walk)) {
        return false;
    }
    for (std::size_t index = mrfCloudWindAt.wind + 1; index < values.size(); index += 2) {
        if (!readRowInteger(walk, values[index]) || !readRowInteger(walk, values[index + 1])) {
            return false;
        }
        if (!readPairEnd(walk, index + 2 == values.size())) {
            return false;
        }
    }
    return true;
}

bool readCloudWindFrom(ScanFile& in, CloudWindElements& etaCloudWind,
                       CloudWindElements& avnCloudWind, MrfCloudWindElements& mrfCloudWind,
                       const BulletinFileBounds& bounds, const StationSet& set, UnreadRow& unread) {
    const bool complete = readEveryBulletin(
        in, bounds, set, unread,
        [&](int bulletin, const BulletinBounds& body, BulletinWalk& walk, std::string_view& label) {
            const std::size_t station = static_cast<std::size_t>(bulletin) % set.ids.size();
            const int group = bulletinGroupOf(bulletin, set.ids.size());
            if (body.blend) {
                return readBlendCloudWindRows(etaCloudWind[station], walk.in, body, label);
            }
            switch (guidanceGroups[static_cast<std::size_t>(group)].kind) {
                case GuidanceKind::namMos:
                    return readCloudWindRows(etaCloudWind[station], walk, label);
                case GuidanceKind::gfsMos:
                    return readCloudWindRows(avnCloudWind[station], walk, label);
                default:
                    return readMrfCloudWindRows(mrfCloudWind[station], walk, label);
            }
        });
    closeScanFile(in);
    return complete;
}

}  // namespace

bool readCloudWindElements(CloudWindElements& etaCloudWind, CloudWindElements& avnCloudWind,
                           MrfCloudWindElements& mrfCloudWind, const DataFile& data,
                           const BulletinFileBounds& bounds, const StationSet& set,
                           UnreadRow& unread) {
    openBulletinFile(cloudWindStream, data);
    return readCloudWindFrom(cloudWindStream, etaCloudWind, avnCloudWind, mrfCloudWind, bounds, set,
                             unread);
}

bool readCloudWindElements(CloudWindElements& etaCloudWind, CloudWindElements& avnCloudWind,
                           MrfCloudWindElements& mrfCloudWind, std::string_view text,
                           const BulletinFileBounds& bounds, const StationSet& set,
                           UnreadRow& unread) {
    openBulletinText(cloudWindStream, text);
    return readCloudWindFrom(cloudWindStream, etaCloudWind, avnCloudWind, mrfCloudWind, bounds, set,
                             unread);
}

bool readCloudWindBulletin(std::string_view text, const BulletinBounds& bounds, int group,
                           std::string_view& label) {
    openBulletinText(cloudWindStream, text);
    BulletinWalk walk{cloudWindStream, {}, nullptr};
    label = "header";
    CloudWindValues values{};
    MrfCloudWindValues mrfValues{};
    bool read = startBulletin(walk, bounds);
    if (read && bounds.blend) {
        read = readBlendCloudWindRows(values, cloudWindStream, bounds, label);
    } else if (read) {
        read = group < 2 ? readCloudWindRows(values, walk, label)
                         : readMrfCloudWindRows(mrfValues, walk, label);
    }
    closeScanFile(cloudWindStream);
    return read;
}
