#pragma once

#include <array>
#include <string>
#include <string_view>

#include "io/data_file.h"
#include "scan/scan_file.h"

// The bulletin file of the station blend: twelve MOS bulletins in three groups (ETA or
// NAM, AVN or GFS, MRF or GFSX), each group holding the four stations in this order.

/// The four stations around the city; a station's position is its row in every array.
inline constexpr std::array<std::string_view, 4> StationIds = {"KBKX", "KHON", "KMHE", "KFSD"};

/// The number of bulletins the run reads: three groups of four stations.
inline constexpr int bulletinCount = 12;

/// The group name of bulletin 0-11 in file order: "ETA", "AVN" or "MRF".
std::string_view bulletinGroup(int bulletin);

/// The station identifier that opens the bulletin after `bulletin` (0-11): where a
/// search inside `bulletin` must stop. Empty after the last one.
std::string_view nextStationId(int bulletin);

/// Where a reader gave up on a file that passed the check: the bulletin (0-11 in file
/// order) and the label of the row it could not find or read in full.
struct UnreadRow {
    int bulletin = 0;
    std::string_view label;
};

/// Reads on to the station word that opens `bulletin` (0-11), the way both the check and
/// the readers find a bulletin: bulletin 0's is the file's first word (kept in `firstWord`
/// when given), a later one's the first word equal to its station.
bool findBulletinStation(ScanFile& in, int bulletin, std::string* firstWord = nullptr);

/// The six header words of a bulletin as far as they were read, each kept to its first
/// characters.
struct BulletinHeader {
    std::string station;
    std::string model;
    std::array<std::string, 2> unexamined;
    std::string date;
    std::string run;
    int wordsRead = 0;
};

enum class BulletinFault { none, wrongFirstWord, notFound, cutShort, wrongHeader, otherDate };

/// Why the check refused a file: the bulletin (0-11) it stopped at and what stood there.
struct BulletinVerdict {
    BulletinFault fault = BulletinFault::none;
    int bulletin = 0;
    BulletinHeader header;
    std::string referenceDate;  // bulletin 1's date, when the dates differ
};

/// True when the open file `data` starts with the twelve bulletin headers in group and station
/// order, all of the first header's date, with the runs ETA/NAM 1200, AVN/GFS 1200 and
/// MRF/GFSX 0000. Prints nothing; on false `verdict` says where and why.
bool checkBulletinFile(const DataFile& data, BulletinVerdict& verdict);
bool checkBulletinFile(const DataFile& data);

/// Quoted words of an explanation are cut to this many characters.
inline constexpr std::size_t quotedWordLength = 40;

/// One line for the forecaster naming the bulletin the check stopped at, what was due
/// there and what stood there.
std::string explainVerdict(const BulletinVerdict& verdict);
