#include "assemble/bulletin_chooser.h"

#include <algorithm>

namespace {

enum Kind { namKind = 0, blendKind = 1, gfsKind = 2, gfsxKind = 3 };

// Each bulletin is charged a little more than its text: the record that holds it.
constexpr std::size_t keptRecordCost = 256;

std::uint64_t bitOf(int slot) {
    return std::uint64_t{1} << slot;
}

bool stationComplete(std::uint64_t present, std::size_t station) {
    const int base = static_cast<int>(station) * kindsPerStation;
    const bool firstGroup = (present & (bitOf(base + namKind) | bitOf(base + blendKind))) != 0;
    return firstGroup && (present & bitOf(base + gfsKind)) != 0 &&
           (present & bitOf(base + gfsxKind)) != 0;
}

bool dateComplete(const BulletinChoice& choice, int place) {
    const std::uint64_t present = choice.present[static_cast<std::size_t>(place)];
    for (std::size_t station = 0; station < choice.stations.size(); ++station) {
        if (!stationComplete(present, station)) {
            return false;
        }
    }
    return true;
}

std::size_t costOf(const FoundBulletin& bulletin) {
    return bulletin.text.empty() ? 0 : bulletin.text.size() + keptRecordCost;
}

void letGoOf(BulletinChoice& choice, std::map<int, std::vector<FoundBulletin>>::iterator day) {
    for (const FoundBulletin& bulletin : day->second) {
        choice.keptBytes -= costOf(bulletin);
    }
    choice.letGo[static_cast<std::size_t>(day->first)] = true;
    choice.kept.erase(day);
}

}  // namespace

void startChoice(BulletinChoice& choice, std::span<const std::string_view> stations,
                 std::optional<CalendarDate> wantedDate) {
    choice = BulletinChoice{};
    for (std::size_t i = 0; i < stations.size() && i < maxChosenStations; ++i) {
        choice.stations.emplace_back(stations[i]);
    }
    choice.wantedDate = wantedDate;
    choice.present.assign(calendarPlaceCount, 0);
    choice.letGo.assign(calendarPlaceCount, false);
}

bool placeOfBulletin(const BulletinChoice& choice, const GuidanceHeader& header, int& slot,
                     int& place) {
    int kind = namKind;
    std::string_view run = "1200";
    switch (header.kind) {
        case GuidanceKind::namMos:
            break;
        case GuidanceKind::blendShortRange:
            kind = blendKind;
            break;
        case GuidanceKind::gfsMos:
            kind = gfsKind;
            break;
        case GuidanceKind::gfsxMos:
            kind = gfsxKind;
            run = "0000";
            break;
        case GuidanceKind::other:
            return false;
    }
    const auto station = std::find(choice.stations.begin(), choice.stations.end(), header.station);
    CalendarDate date;
    if (header.run != run || station == choice.stations.end() ||
        !readCalendarDate(header.date, date)) {
        return false;
    }
    slot = static_cast<int>(station - choice.stations.begin()) * kindsPerStation + kind;
    place = calendarPlace(date);
    return true;
}

void offerBulletin(BulletinChoice& choice, int slot, int place, FoundBulletin bulletin) {
    const auto day = static_cast<std::size_t>(place);
    choice.present[day] |= bitOf(slot);
    const bool wanted = choice.wantedDate ? calendarPlace(*choice.wantedDate) == place
                                          : place >= choice.newestComplete;
    if (!wanted || choice.letGo[day]) {
        return;
    }
    std::vector<FoundBulletin>& found = choice.kept[place];
    found.resize(choice.stations.size() * kindsPerStation);
    const int nam = slot - slot % kindsPerStation + namKind;
    if (!found[static_cast<std::size_t>(slot)].text.empty() ||
        (slot % kindsPerStation == blendKind &&
         !found[static_cast<std::size_t>(nam)].text.empty())) {
        return;
    }
    if (slot % kindsPerStation == namKind) {
        FoundBulletin& blend = found[static_cast<std::size_t>(slot + blendKind)];
        choice.keptBytes -= costOf(blend);
        blend = FoundBulletin{};
    }
    // Charged by its size, so it must not hold the room its growing line by line left.
    bulletin.text.shrink_to_fit();
    choice.keptBytes += costOf(bulletin);
    found[static_cast<std::size_t>(slot)] = std::move(bulletin);

    if (!choice.wantedDate && place > choice.newestComplete && dateComplete(choice, place)) {
        // No older date can be chosen any more: its bulletins need not be kept.
        choice.newestComplete = place;
        while (choice.kept.begin()->first < place) {
            letGoOf(choice, choice.kept.begin());
        }
    }
    // Many dates each short of a bulletin: the oldest go, and are named if chosen later.
    while (choice.keptBytes > keptBulletinBudget && choice.kept.size() > 1) {
        auto oldest = choice.kept.begin();
        if (oldest->first == choice.newestComplete) {
            ++oldest;
        }
        letGoOf(choice, oldest);
    }
}

ChosenBulletins chooseBulletins(const BulletinChoice& choice) {
    ChosenBulletins chosen;
    int newestFound = -1;
    for (int place = calendarPlaceCount - 1; place >= 0; --place) {
        if (choice.present[static_cast<std::size_t>(place)] == 0) {
            continue;
        }
        newestFound = std::max(newestFound, place);
        if (dateComplete(choice, place)) {
            chosen.completeDates.push_back(dateAtPlace(place));
        }
    }
    int place = newestFound;
    if (choice.wantedDate) {
        place = calendarPlace(*choice.wantedDate);
    } else if (!chosen.completeDates.empty()) {
        place = calendarPlace(chosen.completeDates.front());
    }
    if (place < 0) {
        return chosen;
    }
    chosen.date = dateAtPlace(place);
    const std::string dateText = writeCalendarDate(*chosen.date);
    const std::uint64_t present = choice.present[static_cast<std::size_t>(place)];
    // File order: the first group of every station, then the GFS, then the GFSX.
    constexpr std::array<std::string_view, 3> groupNames = {"NAM or NBS 1200 UTC", "GFS 1200 UTC",
                                                            "GFSX 0000 UTC"};
    for (int group = 0; group < 3; ++group) {
        for (std::size_t station = 0; station < choice.stations.size(); ++station) {
            const int base = static_cast<int>(station) * kindsPerStation;
            const int kind = group == 0 ? namKind : group + 1;
            const bool found = (present & bitOf(base + kind)) != 0 ||
                               (group == 0 && (present & bitOf(base + blendKind)) != 0);
            if (!found) {
                chosen.missing.push_back(choice.stations[station] + " " +
                                         std::string(groupNames[static_cast<std::size_t>(group)]) +
                                         " " + dateText);
            }
        }
    }
    if (!chosen.missing.empty()) {
        return chosen;
    }
    const auto day = choice.kept.find(place);
    if (day == choice.kept.end()) {
        chosen.dateLetGo = true;
        return chosen;
    }
    for (int group = 0; group < 3; ++group) {
        for (std::size_t station = 0; station < choice.stations.size(); ++station) {
            const std::size_t base = station * kindsPerStation;
            std::size_t slot = base + static_cast<std::size_t>(group == 0 ? namKind : group + 1);
            if (group == 0 && day->second[slot].text.empty()) {
                slot = base + blendKind;
            }
            chosen.bulletins.push_back(&day->second[slot]);
        }
    }
    return chosen;
}
