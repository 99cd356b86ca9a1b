#include "blend/text_reading.h"

#include <array>
#include <memory>

#include "blend/cloud_wind_reader.h"
#include "blend/temp_precip_reader.h"

std::string explainUnreadRow(const UnreadRow& unread, const StationSet& set) {
    return "The " + std::string(unread.label) + " row of bulletin " +
           std::to_string(unread.bulletin + 1) + " (" + bulletinStation(unread.bulletin, set) +
           ", " +
           (unread.blend ? std::string(blendProductWord)
                         : std::string(bulletinGroup(unread.bulletin, set.ids.size())) + " group") +
           ") is missing or could not be read.";
}

TextReading readBulletinText(std::string_view text, const StationSet& set, std::string& problem) {
    BulletinVerdict verdict;
    BulletinFileBounds bounds;
    if (!checkBulletinText(text, verdict, bounds, set)) {
        problem = explainVerdict(verdict);
        return TextReading::refused;
    }
    // The values are read only to learn that they can be; option 1 reads them again.
    auto tempPrecip = std::make_unique<std::array<TempPrecipElements, 2>>();
    auto mrfTempPrecip = std::make_unique<MrfTempPrecipElements>();
    auto cloudWind = std::make_unique<std::array<CloudWindElements, 2>>();
    auto mrfCloudWind = std::make_unique<MrfCloudWindElements>();
    UnreadRow unread;
    if (!readTempPrecipElements((*tempPrecip)[0], (*tempPrecip)[1], *mrfTempPrecip, text, bounds,
                                set, unread) ||
        !readCloudWindElements((*cloudWind)[0], (*cloudWind)[1], *mrfCloudWind, text, bounds, set,
                               unread)) {
        problem = explainUnreadRow(unread, set);
        return TextReading::rowUnread;
    }
    return TextReading::read;
}

bool bulletinReadsAlone(std::string_view bulletin, int group, std::string_view next) {
    std::string text(bulletin);
    if (!next.empty()) {
        text += '\n';
        text += next;
    }
    BulletinBounds bounds;
    std::string_view label;
    return checkLoneBulletin(text, group, next, bounds) &&
           readTempPrecipBulletin(text, bounds, group, label) &&
           readCloudWindBulletin(text, bounds, group, label);
}
