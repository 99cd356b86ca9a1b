#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "arith/station_set.h"
#include "assemble/calendar_date.h"
#include "assemble/guidance_header.h"

// Chooses, among the bulletins found in the products, the twelve of one date that the
// station blend takes: per station the 1200 UTC NAM (or NBS), the 1200 UTC GFS and the
// 0000 UTC GFSX. Only the bulletins of the one date that may still be chosen are kept:
// the date asked for, or else the newest date found so far.

/// A station's bulletins of one date: NAM or ETA, NBS, GFS or AVN, GFSX or MRF.
inline constexpr int kindsPerStation = 4;

/// At most this many stations: each date records which bulletins it has in 64 bits.
inline constexpr std::size_t maxChosenStations = 64 / kindsPerStation;

/// A bulletin longer than this is never kept: no MOS or Blend bulletin comes near it.
inline constexpr std::size_t maxBulletinLength = std::size_t{64} * 1024;

/// Each kept bulletin is charged a little more than its text: the record that holds it.
inline constexpr std::size_t keptRecordCost = 256;

/// What a choice may hold, whatever the products and the station set: the calendar's
/// record of which bulletins each date has, fixed in size, and one date's bulletins, at
/// most one per station and kind.
inline constexpr std::size_t choiceBudget = std::size_t{6} * 1024 * 1024;

/// Dates named in a message, newest first; the rest are counted.
inline constexpr std::size_t listedDates = 10;

/// A bulletin as it goes into the file: its lines with LF ends, header first, and where
/// the date stands in the header.
struct FoundBulletin {
    std::string text;
    std::size_t dateAt = 0;
    std::size_t dateLength = 0;
    bool readable = false;  // both element readers read every row of it
};

/// Why a bulletin was seen but not taken.
enum class PassedOver { otherModel, otherRun, otherDate, otherStation, noDate };
inline constexpr std::size_t passedOverReasons = 5;

/// The headers named of each reason; the rest are counted.
inline constexpr std::size_t listedPassedOver = 3;

/// A header named in a message is cut to this many characters.
inline constexpr std::size_t passedOverHeaderLength = 80;

/// The bulletins passed over for one reason: the first few headers, and how many in all.
struct PassedOverBulletins {
    std::vector<std::string> headers;
    std::size_t count = 0;
};

struct BulletinChoice {
    std::vector<std::string> stations;  // in the order of the file's groups
    std::optional<CalendarDate> wantedDate;
    std::vector<std::uint64_t> present;  // per calendar place: one bit per station and kind
    int keptPlace = -1;                  // the date whose bulletins are kept
    std::vector<FoundBulletin> kept;     // per slot, of that date
    std::size_t keptBytes = 0;
    std::array<PassedOverBulletins, passedOverReasons> passedOver;  // by PassedOver
};

/// The bytes a choice holds: its calendar record and its kept bulletins as charged.
std::size_t choiceBytes(const BulletinChoice& choice);

/// Starts a choice for the stations of `set` (at most maxChosenStations), of `wantedDate`
/// when given, else of the newest date found.
void startChoice(BulletinChoice& choice, const StationSet& set,
                 std::optional<CalendarDate> wantedDate);

/// Where a bulletin with this header would go: its slot (station * kindsPerStation + kind)
/// and its calendar place. False when the blend never takes it (another station, model or
/// run, a date that is no calendar date).
bool placeOfBulletin(const BulletinChoice& choice, const GuidanceHeader& header, int& slot,
                     int& place);

/// Notes the bulletin that `header` (read from `line`) opens when the choice does not take
/// it: a model or run the blend never takes, a station outside the set, a date that is none
/// or not the one asked for.
void notePassedOver(BulletinChoice& choice, const GuidanceHeader& header, std::string_view line);

/// What a reason for passing a bulletin over says, after "passed over": "another run
/// (option 1 takes ...)".
std::string passedOverReason(const BulletinChoice& choice, PassedOver reason);

/// Hands over a whole bulletin (at most maxBulletinLength) found at `slot` and `place`. Of
/// two copies of one bulletin the first that both readers read is kept, else the first;
/// NAM takes the place of NBS.
void offerBulletin(BulletinChoice& choice, int slot, int place, FoundBulletin bulletin);

/// The outcome: the date used and the bulletins in file order, or what is missing.
struct ChosenBulletins {
    std::optional<CalendarDate> date;             // the date used, or the one found incomplete
    std::vector<const FoundBulletin*> bulletins;  // in file order, when complete
    std::vector<std::string> missing;             // "KMHE GFSX 0000 UTC 12/08/2026"
    std::vector<CalendarDate> completeDates;      // newest first, at most listedDates
    std::size_t moreCompleteDates = 0;            // complete dates beyond those
    std::optional<CalendarDate> olderComplete;    // the newest complete date before `date`
};

/// Chooses the date and its bulletins in file order: all first-group bulletins in station
/// order, then the GFS ones, then the GFSX ones.
ChosenBulletins chooseBulletins(const BulletinChoice& choice);
