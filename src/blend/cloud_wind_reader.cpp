#include "blend/cloud_wind_reader.h"

#include "blend/row_scan.h"

namespace {

// Made once for the whole program and opened anew on every call.
ScanFile cloudWindStream;

using CloudWindValues = std::array<std::int32_t, 57>;
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
template <std::size_t size>
void storeCloudCode(const std::array<CloudWord, size>& clouds, const std::string& word,
                    std::int32_t& code) {
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
        storeCloudCode(shortRangeClouds, word, values[column]);
    }
    unreadLabel = "WDR";
    if (!findRow(walk, "WDR") || !readRowIntegers(walk, values.data() + 19, 19)) {
        return false;
    }
    unreadLabel = "WSP";
    return findRow(walk, "WSP") && readRowIntegers(walk, values.data() + 38, 19);
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
            storeCloudCode(extendedClouds, word, values[static_cast<std::size_t>(column - 5)]);
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
    if (!readRowInteger(walk, values[11]) || !readSeparator(walk)) {
        return false;
    }
    for (std::size_t index = 12; index < values.size(); index += 2) {
        if (!readRowInteger(walk, values[index]) || !readRowInteger(walk, values[index + 1])) {
            return false;
        }
        if (!readPairEnd(walk, index + 2 == values.size())) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool readCloudWindElements(CloudWindElements& etaCloudWind, CloudWindElements& avnCloudWind,
                           MrfCloudWindElements& mrfCloudWind, const DataFile& data,
                           UnreadRow& unread) {
    openScanFile(cloudWindStream, data.descriptor);
    const bool complete = readEveryBulletin(
        cloudWindStream, unread, [&](int bulletin, BulletinWalk& walk, std::string_view& label) {
            const auto station = static_cast<std::size_t>(bulletin % 4);
            if (bulletin < 4) {
                return readCloudWindRows(etaCloudWind[station], walk, label);
            }
            if (bulletin < 8) {
                return readCloudWindRows(avnCloudWind[station], walk, label);
            }
            return readMrfCloudWindRows(mrfCloudWind[station], walk, label);
        });
    closeScanFile(cloudWindStream);
    return complete;
}
