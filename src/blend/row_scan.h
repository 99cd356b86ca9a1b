#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "blend/bulletin_check.h"
#include "scan/scan_file.h"

// Reading the values of one element row inside one bulletin. Each bulletin is read only
// within the bounds the check found for it: its end is where its reading meets the end.

/// One reader's way through the bulletins of a checked file.
struct BulletinWalk {
    ScanFile& in;
    std::string cutWordRest;  // what a row's last separator left of the word it began
    const BulletinBounds* bounds = nullptr;  // the bulletin being read
};

/// Moves straight to the rows of a bulletin's body and makes its end the end of reading.
bool startBulletin(BulletinWalk& walk, const BulletinBounds& bounds);

/// Reads words until the row label; false when the bulletin ends first.
bool findRow(BulletinWalk& walk, std::string_view label);

/// Reads one word of a row; false at the end of the bulletin.
bool readRowWord(BulletinWalk& walk, std::string& word);

/// Reads one integer of a row; an attached "|" stays in the input.
bool readRowInteger(BulletinWalk& walk, std::int32_t& value);

/// Reads `count` integers of a row into `values`.
bool readRowIntegers(BulletinWalk& walk, std::int32_t* values, int count);

/// Reads the one non-blank character after a column, whichever it is.
bool readSeparator(BulletinWalk& walk);

/// Reads the "|" standing alone before a row's first word (the blank column 1 of P24) and
/// that word.
bool readSeparatorAndWord(BulletinWalk& walk, std::string& word);

/// Reads the "|" after a pair of columns of an extended-range row. After the last column it
/// discards whatever non-blank character follows; the bulletin may end right after the last
/// value instead, which is no fault: every value has been read.
bool readPairEnd(BulletinWalk& walk, bool lastColumn);

/// Calls `readBulletin(bulletin, bounds, walk, label)` for the 3N bulletins of a file of
/// the N stations of `set` in file order, each read within its own bounds. False at the
/// first bulletin it could not read, with `unread` naming that bulletin and the label it
/// left in `label`.
template <typename ReadBulletin>
bool readEveryBulletin(ScanFile& in, const BulletinFileBounds& bounds, const StationSet& set,
                       UnreadRow& unread, ReadBulletin readBulletin) {
    BulletinWalk walk{in, {}, nullptr};
    for (int bulletin = 0; bulletin < bulletinCountOf(set.ids.size()); ++bulletin) {
        const BulletinBounds& body = bounds[static_cast<std::size_t>(bulletin)];
        unread.bulletin = bulletin;
        unread.label = "header";
        unread.blend = body.blend;
        if (!startBulletin(walk, body) || !readBulletin(bulletin, body, walk, unread.label)) {
            return false;
        }
    }
    return true;
}
