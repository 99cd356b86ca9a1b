#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "io/data_file.h"
#include "scan/scan_file.h"

#include "arith/station_set.h"
#include "blend/guidance_groups.h"

// The bulletin file of the station blend: guidance bulletins in the three groups of
// guidanceGroups, each group holding the set's stations in the set's order.

/// The number of bulletins of a file of `stationCount` stations.
inline constexpr int bulletinCountOf(std::size_t stationCount) {
    return 3 * static_cast<int>(stationCount);
}

/// The group (0 to 2) of bulletin 0 to 3N-1 in the file order of N stations.
inline int bulletinGroupOf(int bulletin, std::size_t stationCount) {
    return bulletin / static_cast<int>(stationCount);
}

/// The station of bulletin 0 to 3N-1 in the file order of the stations of `set`.
inline const std::string& bulletinStation(int bulletin, const StationSet& set) {
    return set.ids[static_cast<std::size_t>(bulletin) % set.ids.size()];
}

/// The group name of bulletin 0 to 3N-1 in the file order of N stations: "ETA", "AVN"
/// or "MRF".
std::string_view bulletinGroup(int bulletin, std::size_t stationCount);

/// The first row each reader finds word by word in a bulletin that is no NBS one: N/X
/// (X/N in the extended range) and CLD. The later rows follow them closely.
inline constexpr std::array<std::string_view, 3> mosRowLabels = {"N/X", "X/N", "CLD"};

/// Where each label of mosRowLabels first stands as a word in a body: noScanLimit where
/// it does not, or where the check did not look.
using RowPlaces = std::array<std::uint64_t, mosRowLabels.size()>;
inline constexpr RowPlaces noRowPlaces = [] {
    RowPlaces places{};
    places.fill(noScanLimit);
    return places;
}();

/// Where one bulletin lies in the file, as the check found it: its body runs from the end
/// of its header to the start of the next bulletin's station word (the last one to the end
/// of the file). No row label stands in the body before `rowsStart`.
struct BulletinBounds {
    std::uint64_t bodyStart = 0;
    std::uint64_t bodyEnd = noScanLimit;
    std::uint64_t rowsStart = 0;
    bool blend = false;  // a Blend NBS bulletin, read by fields under its forecast hours
    RowPlaces rows = noRowPlaces;
};
/// Each bulletin's bounds in file order; a set of fewer than maxSetStations stations
/// leaves the last ones unused.
using BulletinFileBounds = std::array<BulletinBounds, 3 * maxSetStations>;

/// The labels of the rows an NBS body is read from, in the order the readers use them.
/// Bulletins before version 4.0 label their max/min row N/X instead of TXN.
inline constexpr std::array<std::string_view, 8> blendRowLabels = {"FHR", "TXN", "DPT", "P12",
                                                                   "SKY", "WDR", "WSP", "N/X"};

/// Where a reader gave up on a file that passed the check: the bulletin (0 to 3N-1 in file
/// order), the label of the row it could not find or read in full, and whether the
/// bulletin was an NBS one.
struct UnreadRow {
    int bulletin = 0;
    std::string_view label;
    bool blend = false;
};

/// The header words of a bulletin as far as they were read, each kept to its first
/// characters: station, model, the version word of a Blend header that has one, two
/// words (for the Blend the product word and one not examined), date and run.
struct BulletinHeader {
    std::string station;
    std::string model;
    std::string version;
    bool hasVersion = false;
    std::array<std::string, 2> unexamined;
    std::string date;
    std::string run;
    int wordsRead = 0;
};

enum class BulletinFault { none, wrongFirstWord, notFound, cutShort, wrongHeader, otherDate };

/// Why the check refused a file: the bulletin (0 to 3N-1) it stopped at, the station and
/// group (0 to 2) due there, and what stood there.
struct BulletinVerdict {
    BulletinFault fault = BulletinFault::none;
    int bulletin = 0;
    std::string station;
    int group = 0;
    BulletinHeader header;
    std::string referenceDate;  // bulletin 1's date, when the dates differ or all is valid
};

/// Opens a bulletin file for the check or a reader: in binary mode, so that a body's start
/// can be reached straight, and with the feed's framing characters as whitespace.
bool openBulletinFile(ScanFile& in, const DataFile& data);

/// True when the open file `data` starts with the 3N bulletin headers of the N stations of `set` in
/// group and station order, all of the first header's date, with the runs ETA/NAM/NBS 1200,
/// AVN/GFS 1200 and MRF/GFSX 0000. Prints nothing; on false `verdict` says where and why, on
/// true `bounds` where each bulletin lies.
bool checkBulletinFile(const DataFile& data, BulletinVerdict& verdict, BulletinFileBounds& bounds,
                       const StationSet& set = fixedStationSet());
bool checkBulletinFile(const DataFile& data);

/// Opens the text of a bulletin file held in memory for the check or a reader, as
/// openBulletinFile opens a file.
void openBulletinText(ScanFile& in, std::string_view text);

/// The same check on the text of a bulletin file not yet written, such as one assembled
/// from saved products.
bool checkBulletinText(std::string_view text, BulletinVerdict& verdict, BulletinFileBounds& bounds,
                       const StationSet& set = fixedStationSet());
bool checkBulletinText(std::string_view text, BulletinVerdict& verdict,
                       const StationSet& set = fixedStationSet());

/// The bounds of one bulletin of `group` (0 to 2) standing alone in `text`, header first,
/// followed by nothing or by the station word `next` of the bulletin after it: as the check
/// finds them in a whole file. False when its header is not one of the group's, or `next`
/// does not follow.
bool checkLoneBulletin(std::string_view text, int group, std::string_view next,
                       BulletinBounds& bounds);

/// Quoted words of an explanation are cut to this many characters.
inline constexpr std::size_t quotedWordLength = 40;

/// One line for the forecaster naming the bulletin the check stopped at, what was due
/// there and what stood there.
std::string explainVerdict(const BulletinVerdict& verdict);
