#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "blend/bulletin_check.h"
#include "scan/scan_file.h"

// Reading the values of one element row inside one bulletin. Every function stops at the
// end of the file or in a failed state, and none reads past the next bulletin's header.

/// One reader's way through the bulletins of a checked file.
struct BulletinWalk {
    ScanFile& in;
    std::string_view nextStation;  // ends the bulletin being read; empty for the last one
    bool stationTaken = false;     // the next bulletin's station word has been read already
    std::string cutWordRest;       // what a row's last separator left of the word it began
};

/// Reads on to the header of `bulletin` as the check finds it and through its six words,
/// and makes the walk stop at the next bulletin's station word.
bool startBulletin(BulletinWalk& walk, int bulletin);

/// Reads words until the row label; false when the bulletin ends first.
bool findRow(BulletinWalk& walk, std::string_view label);

/// Reads one word of a row; false at the end of the file or at the next bulletin's header.
bool readRowWord(BulletinWalk& walk, std::string& word);

/// Reads one integer of a row; an attached "|" stays in the input.
bool readRowInteger(BulletinWalk& walk, std::int32_t& value);

/// Reads `count` integers of a row into `values`.
bool readRowIntegers(BulletinWalk& walk, std::int32_t* values, int count);

/// Reads the one non-blank character after a column, whichever it is. Should it be the first
/// letter of the next station, the integer due next cannot be read from the letters left.
bool readSeparator(BulletinWalk& walk);

/// Reads the "|" standing alone before a row's first word (the blank column 1 of P24) and
/// that word. False when the two make the next bulletin's station word.
bool readSeparatorAndWord(BulletinWalk& walk, std::string& word);

/// Reads the "|" after a pair of columns of an extended-range row. After the last column it
/// discards whatever non-blank character follows; the file may end right after the last
/// value instead, which is no fault: every value has been read.
bool readPairEnd(BulletinWalk& walk, bool lastColumn);

/// Calls `readBulletin(bulletin, walk, label)` for the twelve bulletins in file order, each
/// started at its own header. False at the first bulletin it could not read, with `unread`
/// naming that bulletin and the label it left in `label`.
template <typename ReadBulletin>
bool readEveryBulletin(ScanFile& in, UnreadRow& unread, ReadBulletin readBulletin) {
    BulletinWalk walk{in, {}, false, {}};
    for (int bulletin = 0; bulletin < bulletinCount; ++bulletin) {
        unread.bulletin = bulletin;
        unread.label = "header";
        if (!startBulletin(walk, bulletin) || !readBulletin(bulletin, walk, unread.label)) {
            return false;
        }
    }
    return true;
}
