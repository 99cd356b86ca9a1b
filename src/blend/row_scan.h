#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "blend/bulletin_check.h"
#include "scan/scan_file.h"

// Reading the values of one element row inside one bulletin. Every function stops at the
// end of the file or in a failed state, and none reads past the next bulletin's header.

/// Reads words until the row label; false when the bulletin ends first (at the word
/// `nextStation` that opens the next one, or at the end of the file).
bool findRow(ScanFile& in, std::string_view label, std::string_view nextStation);

/// Reads one word of a row; false at the end of the file or at the next bulletin's header.
bool readRowWord(ScanFile& in, std::string& word, std::string_view nextStation);

/// Reads one integer of a row; an attached "|" stays in the input.
bool readRowInteger(ScanFile& in, std::int32_t& value);

/// Reads `count` integers of a row into `values`.
bool readRowIntegers(ScanFile& in, std::int32_t* values, int count);

/// Reads the one non-blank character after a column, whichever it is.
bool readSeparator(ScanFile& in);

/// Reads the "|" after a pair of columns of an extended-range row. After the last column it
/// discards whatever non-blank character follows; the file may end right after the last
/// value instead, which is no fault: every value has been read.
bool readPairEnd(ScanFile& in, bool lastColumn);

/// Calls `readBulletin(bulletin, nextStation, label)` for the twelve bulletins in file order,
/// each continuing where the last stopped. False at the first bulletin it could not read,
/// with `unread` naming that bulletin and the label it left in `label`.
template <typename ReadBulletin>
bool readEveryBulletin(UnreadRow& unread, ReadBulletin readBulletin) {
    for (int bulletin = 0; bulletin < bulletinCount; ++bulletin) {
        unread.bulletin = bulletin;
        if (!readBulletin(bulletin, nextStationId(bulletin), unread.label)) {
            return false;
        }
    }
    return true;
}
