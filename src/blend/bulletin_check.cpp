#include "blend/bulletin_check.h"

#include "scan/scan_file.h"

namespace {

struct BulletinGroupRule {
    std::string_view name;
    std::string_view model;
    std::string_view otherModel;  // the newer name of the same model
    std::string_view run;
};

constexpr std::array<BulletinGroupRule, 3> groupRules = {{
    {"ETA", "ETA", "NAM", "1200"},
    {"AVN", "AVN", "GFS", "1200"},
    {"MRF", "MRF", "GFSX", "0000"},
}};

// Reads the five header words after the station: model, two unexamined words, date and
// run. A header cut short by the end of the file is refused, so no word can keep a value
// read earlier.
bool headerMatches(ScanFile& in, const BulletinGroupRule& rule, std::string& date) {
    std::string model;
    std::string unexamined;
    std::string run;
    if (!scanWord(in, model) || !scanWord(in, unexamined) || !scanWord(in, unexamined) ||
        !scanWord(in, date) || !scanWord(in, run)) {
        return false;
    }
    return (model == rule.model || model == rule.otherModel) && run == rule.run;
}

// The header is the first word equal to the station after the previous header. Reaching
// the end of the file, even with the very word that matches, leaves no bulletin behind it.
bool findStation(ScanFile& in, std::string_view station) {
    return skipPastWord(in, station) && !in.atEnd;
}

bool checkBulletins(ScanFile& in) {
    std::string station;
    std::string referenceDate;
    if (!scanWord(in, station) || station != StationIds[0] ||
        !headerMatches(in, groupRules[0], referenceDate)) {
        return false;
    }
    for (int bulletin = 1; bulletin < bulletinCount; ++bulletin) {
        std::string date;
        if (!findStation(in, StationIds[static_cast<std::size_t>(bulletin % 4)]) ||
            !headerMatches(in, groupRules[static_cast<std::size_t>(bulletin / 4)], date) ||
            date != referenceDate) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string_view bulletinGroup(int bulletin) {
    return groupRules[static_cast<std::size_t>(bulletin / 4)].name;
}

std::string_view nextStationId(int bulletin) {
    if (bulletin + 1 >= bulletinCount) {
        return {};
    }
    return StationIds[static_cast<std::size_t>((bulletin + 1) % 4)];
}

bool checkBulletinFile(const std::string& name) {
    ScanFile bulletins;
    openScanFile(bulletins, name);
    const bool valid = checkBulletins(bulletins);
    closeScanFile(bulletins);
    return valid;
}
