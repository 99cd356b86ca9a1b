#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "assemble/calendar_date.h"
#include "assemble/guidance_header.h"

// Chooses, among the bulletins found in the products, the twelve of one date that the
// station blend takes: per station the 1200 UTC NAM (or NBS), the 1200 UTC GFS and the
// 0000 UTC GFSX. Only bulletins that may still be chosen are kept.

/// A station's bulletins of one date: NAM or ETA, NBS, GFS or AVN, GFSX or MRF.
inline constexpr int kindsPerStation = 4;

/// At most this many stations: each date records which bulletins it has in 64 bits.
inline constexpr std::size_t maxChosenStations = 64 / kindsPerStation;

/// Kept bulletins may take this many bytes in all; beyond it the oldest date is let go.
inline constexpr std::size_t keptBulletinBudget = std::size_t{6} * 1024 * 1024;

/// A bulletin as it goes into the file: its lines with LF ends, header first, and where
/// the date stands in the header.
struct FoundBulletin {
    std::string text;
    std::size_t dateAt = 0;
    std::size_t dateLength = 0;
};

struct BulletinChoice {
    std::vector<std::string> stations;  // in the order of the file's groups
    std::optional<CalendarDate> wantedDate;
    std::vector<std::uint64_t> present;  // per calendar place: one bit per station and kind
    std::vector<bool> letGo;             // per calendar place: found, but no longer kept
    std::map<int, std::vector<FoundBulletin>> kept;  // per calendar place
    std::size_t keptBytes = 0;
    int newestComplete = -1;
};

/// Starts a choice for `stations` (at most maxChosenStations), of `wantedDate` when given,
/// else of the newest date that has every bulletin.
void startChoice(BulletinChoice& choice, std::span<const std::string_view> stations,
                 std::optional<CalendarDate> wantedDate);

/// Where a bulletin with this header would go: its slot (station * kindsPerStation + kind)
/// and its calendar place. False when the blend never takes it (another station, model or
/// run, a date that is no calendar date).
bool placeOfBulletin(const BulletinChoice& choice, const GuidanceHeader& header, int& slot,
                     int& place);

/// Hands over a whole bulletin found at `slot` and `place`. The first bulletin found for a
/// place is kept; NAM takes the place of NBS.
void offerBulletin(BulletinChoice& choice, int slot, int place, FoundBulletin bulletin);

/// The outcome: the date used and the bulletins in file order, or what is missing.
struct ChosenBulletins {
    std::optional<CalendarDate> date;             // the date used, or the one found incomplete
    std::vector<const FoundBulletin*> bulletins;  // in file order, when complete
    std::vector<std::string> missing;             // "KMHE GFSX 0000 UTC 12/08/2026"
    std::vector<CalendarDate> completeDates;      // newest first
    bool dateLetGo = false;                       // complete, but its bulletins were not kept
};

/// Chooses the date and its bulletins in file order: all first-group bulletins in station
/// order, then the GFS ones, then the GFSX ones.
ChosenBulletins chooseBulletins(const BulletinChoice& choice);
