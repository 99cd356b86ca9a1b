#include "assemble/bulletin_chooser.h"

#include <algorithm>

#include "assemble/guidance_header.h"
#include "blend/text_reading.h"

namespace {

enum Kind { namKind = 0, blendKind = 1, gfsKind = 2, gfsxKind = 3 };

// The kind of each slot of a station, in slot order.
constexpr std::array<GuidanceKind, kindsPerStation> slotKinds = {
    GuidanceKind::namMos, GuidanceKind::blendShortRange, GuidanceKind::gfsMos,
    GuidanceKind::gfsxMos};

// The slot of guidance of `kind` in a station's slots; -1 for `other`.
int slotOfKind(GuidanceKind kind) {
    const auto slot = std::find(slotKinds.begin(), slotKinds.end(), kind);
    return slot == slotKinds.end() ? -1 : static_cast<int>(slot - slotKinds.begin());
}

int groupOfKind(int kind) {
    return static_cast<int>(guidanceGroupOfKind(slotKinds[static_cast<std::size_t>(kind)]));
}

// The calendar record is made once, whatever the products; the kept bulletins are one
// date's, each at most maxBulletinLength: together they stay within the budget.
static_assert(calendarPlaceCount * sizeof(std::uint64_t) +
                  maxChosenStations * kindsPerStation * (maxBulletinLength + keptRecordCost) <=
              choiceBudget);

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
    return bulletin.text.empty() ? 0 : bulletin.text.capacity() + keptRecordCost;
}

// Whether both readers read the bulletin at `slot` as they would in the file, where the
// next bulletin's station word follows it.
bool readsInItsPlace(const BulletinChoice& choice, int slot, const std::string& text) {
    const std::size_t count = choice.stations.size();
    const auto station = static_cast<std::size_t>(slot / kindsPerStation);
    const int group = groupOfKind(slot % kindsPerStation);
    std::string_view next;
    if (station + 1 < count) {
        next = choice.stations[station + 1];
    } else if (group < 2) {
        next = choice.stations[0];
    }
    return bulletinReadsAlone(text, group, next);
}

void keep(BulletinChoice& choice, FoundBulletin& place, FoundBulletin bulletin) {
    choice.keptBytes -= costOf(place);
    place = std::move(bulletin);
    choice.keptBytes += costOf(place);
}

}  // namespace

std::size_t choiceBytes(const BulletinChoice& choice) {
    return choice.present.capacity() * sizeof(std::uint64_t) +
           choice.kept.capacity() * sizeof(FoundBulletin) + choice.keptBytes;
}

void startChoice(BulletinChoice& choice, const StationSet& set,
                 std::optional<CalendarDate> wantedDate) {
    choice = BulletinChoice{};
    for (std::size_t i = 0; i < set.ids.size() && i < maxChosenStations; ++i) {
        choice.stations.push_back(set.ids[i]);
    }
    choice.wantedDate = wantedDate;
    choice.present.assign(calendarPlaceCount, 0);
    choice.kept.resize(choice.stations.size() * kindsPerStation);
}

bool placeOfBulletin(const BulletinChoice& choice, const GuidanceHeader& header, int& slot,
                     int& place) {
    const auto slotKind = std::find(slotKinds.begin(), slotKinds.end(), header.kind);
    if (slotKind == slotKinds.end()) {
        return false;
    }
    const int kind = static_cast<int>(slotKind - slotKinds.begin());
    const std::string_view run = guidanceGroups[static_cast<std::size_t>(groupOfKind(kind))].run;
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

namespace {

// The header as named in a message: its runs of blanks made one, cut to a header's length.
std::string headerText(std::string_view line, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < line.size() && text.size() < passedOverHeaderLength; ++i) {
        const char c = line[i];
        const bool blank = c == ' ' || c == '\t' || c == '\r' || isFramingCharacter(c);
        if (!blank) {
            text += c;
        } else if (!text.empty() && text.back() != ' ') {
            text += ' ';
        }
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

std::optional<PassedOver> reasonToPass(const BulletinChoice& choice, const GuidanceHeader& header) {
    const int kind = slotOfKind(header.kind);
    if (kind < 0) {
        return PassedOver::otherModel;
    }
    if (std::find(choice.stations.begin(), choice.stations.end(), header.station) ==
        choice.stations.end()) {
        return PassedOver::otherStation;
    }
    if (header.run != guidanceGroups[static_cast<std::size_t>(groupOfKind(kind))].run) {
        return PassedOver::otherRun;
    }
    CalendarDate date;
    if (!readCalendarDate(header.date, date)) {
        return PassedOver::noDate;
    }
    if (choice.wantedDate && calendarPlace(*choice.wantedDate) != calendarPlace(date)) {
        return PassedOver::otherDate;
    }
    return std::nullopt;
}

}  // namespace

void notePassedOver(BulletinChoice& choice, const GuidanceHeader& header, std::string_view line) {
    const std::optional<PassedOver> reason = reasonToPass(choice, header);
    if (!reason) {
        return;
    }
    PassedOverBulletins& passed = choice.passedOver.at(static_cast<std::size_t>(*reason));
    if (passed.headers.size() < listedPassedOver) {
        passed.headers.push_back(headerText(line, header.stationAt));
    }
    ++passed.count;
}

std::string passedOverReason(const BulletinChoice& choice, PassedOver reason) {
    switch (reason) {
        case PassedOver::otherModel:
            return "a product option 1 does not take";
        case PassedOver::otherRun:
            return "another run (option 1 takes NAM, NBS and GFS of 1200 UTC, GFSX of 0000 UTC)";
        case PassedOver::otherDate:
            return "another date than --date " +
                   (choice.wantedDate ? writeCalendarDate(*choice.wantedDate) : std::string());
        case PassedOver::otherStation: {
            std::string set;
            for (const std::string& station : choice.stations) {
                set += (set.empty() ? "" : " ") + station;
            }
            return "another station set (the set is " + set + ")";
        }
        case PassedOver::noDate:
            return "no calendar date";
    }
    return {};
}

void offerBulletin(BulletinChoice& choice, int slot, int place, FoundBulletin bulletin) {
    choice.present[static_cast<std::size_t>(place)] |= bitOf(slot);
    const bool wanted =
        choice.wantedDate ? calendarPlace(*choice.wantedDate) == place : place >= choice.keptPlace;
    if (!wanted || bulletin.text.size() > maxBulletinLength) {
        return;
    }
    if (place != choice.keptPlace) {
        // A newer date: no older one can be chosen any more.
        for (FoundBulletin& old : choice.kept) {
            keep(choice, old, FoundBulletin{});
        }
        choice.keptPlace = place;
    }
    FoundBulletin& found = choice.kept[static_cast<std::size_t>(slot)];
    const int base = slot - slot % kindsPerStation;
    FoundBulletin& nam = choice.kept[static_cast<std::size_t>(base + namKind)];
    if ((!found.text.empty() && found.readable) ||
        (slot % kindsPerStation == blendKind && !nam.text.empty())) {
        return;
    }
    bulletin.readable = readsInItsPlace(choice, slot, bulletin.text);
    // A copy that cannot be read stays only until one that can comes.
    if (!found.text.empty() && !bulletin.readable) {
        return;
    }
    if (slot % kindsPerStation == namKind) {
        keep(choice, choice.kept[static_cast<std::size_t>(base + blendKind)], FoundBulletin{});
    }
    // Charged by its size, so it must not hold the room its growing line by line left.
    bulletin.text.shrink_to_fit();
    keep(choice, found, std::move(bulletin));
}

ChosenBulletins chooseBulletins(const BulletinChoice& choice) {
    ChosenBulletins chosen;
    int newestFound = -1;
    int place = choice.wantedDate ? calendarPlace(*choice.wantedDate) : -1;
    for (int at = calendarPlaceCount - 1; at >= 0; --at) {
        if (choice.present[static_cast<std::size_t>(at)] == 0) {
            continue;
        }
        newestFound = std::max(newestFound, at);
        if (!choice.wantedDate) {
            place = newestFound;
        }
        if (!dateComplete(choice, at)) {
            continue;
        }
        if (chosen.completeDates.size() < listedDates) {
            chosen.completeDates.push_back(dateAtPlace(at));
        } else {
            ++chosen.moreCompleteDates;
        }
        if (at < place && !chosen.olderComplete) {
            chosen.olderComplete = dateAtPlace(at);
        }
    }
    if (place < 0) {
        return chosen;
    }
    chosen.date = dateAtPlace(place);
    const std::string dateText = writeCalendarDate(*chosen.date);
    const std::uint64_t present = choice.present[static_cast<std::size_t>(place)];
    // File order: the first group of every station, then the GFS, then the GFSX.
    for (const GuidanceGroup& group : guidanceGroups) {
        const int kind = slotOfKind(group.kind);
        const int standIn = slotOfKind(group.standIn);
        for (std::size_t station = 0; station < choice.stations.size(); ++station) {
            const int base = static_cast<int>(station) * kindsPerStation;
            const bool found = (present & bitOf(base + kind)) != 0 ||
                               (standIn >= 0 && (present & bitOf(base + standIn)) != 0);
            if (!found) {
                chosen.missing.push_back(choice.stations[station] + " " +
                                         std::string(group.missingName) + " " + dateText);
            }
        }
    }
    if (!chosen.missing.empty() || place != choice.keptPlace) {
        return chosen;
    }
    for (const GuidanceGroup& group : guidanceGroups) {
        const int standIn = slotOfKind(group.standIn);
        for (std::size_t station = 0; station < choice.stations.size(); ++station) {
            const int base = static_cast<int>(station) * kindsPerStation;
            const FoundBulletin* found =
                &choice.kept[static_cast<std::size_t>(base + slotOfKind(group.kind))];
            if (standIn >= 0 && found->text.empty()) {
                found = &choice.kept[static_cast<std::size_t>(base + standIn)];
            }
            chosen.bulletins.push_back(found);
        }
    }
    return chosen;
}
