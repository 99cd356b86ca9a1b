#include "blend/row_scan.h"

#include <algorithm>

#include "scan/scan_number.h"

namespace {

bool blankOrEnd(ScanFile& in) {
    const int next = in.failed ? -1 : scanPeek(in);
    return next == -1 || scanIsBlank(in, static_cast<char>(next));
}

// Takes one non-blank character. When it begins a word, the rest of that word is read too,
// into `rest`: the rows go on with it as the next word.
bool takeCharacter(BulletinWalk& walk, std::string& rest) {
    rest.clear();
    const bool wordStart = blankOrEnd(walk.in);
    char character = 0;
    const bool taken = scanChar(walk.in, character);
    if (taken && wordStart && !blankOrEnd(walk.in)) {
        scanWord(walk.in, rest);
    }
    return taken;
}

std::uint64_t notedRow(const RowPlaces& rows, std::string_view label) {
    const auto known = std::find(mosRowLabels.begin(), mosRowLabels.end(), label);
    return known == mosRowLabels.end()
               ? noScanLimit
               : rows[static_cast<std::size_t>(known - mosRowLabels.begin())];
}

}  // namespace

bool startBulletin(BulletinWalk& walk, const BulletinBounds& bounds) {
    walk.cutWordRest.clear();
    walk.bounds = &bounds;
    return scanSeek(walk.in, bounds.rowsStart, bounds.bodyEnd);
}

bool findRow(BulletinWalk& walk, std::string_view label) {
    // The rest of a word cut by a separator is the next word as the rows are read.
    if (!walk.cutWordRest.empty()) {
        const bool found = walk.cutWordRest == label;
        walk.cutWordRest.clear();
        if (found) {
            return true;
        }
    }
    // Where the check saw the label first stand as a word, at or after a word's start,
    // no earlier word can match: reading goes straight past it.
    if (walk.bounds != nullptr && scanGood(walk.in)) {
        const std::uint64_t at = notedRow(walk.bounds->rows, label);
        const int next = scanPeek(walk.in);
        if (at != noScanLimit && at >= scanOffset(walk.in) && next != -1 &&
            scanIsBlank(walk.in, static_cast<char>(next))) {
            return scanSeek(walk.in, at + label.size(), walk.bounds->bodyEnd);
        }
    }
    return skipPastWord(walk.in, label);
}

bool readRowWord(BulletinWalk& walk, std::string& word) {
    return scanWord(walk.in, word);
}

bool readRowInteger(BulletinWalk& walk, std::int32_t& value) {
    return scanInteger(walk.in, value);
}

bool readRowIntegers(BulletinWalk& walk, std::int32_t* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!readRowInteger(walk, values[i])) {
            return false;
        }
    }
    return true;
}

bool readSeparator(BulletinWalk& walk) {
    char separator = 0;
    return scanChar(walk.in, separator);
}

bool readSeparatorAndWord(BulletinWalk& walk, std::string& word) {
    if (!takeCharacter(walk, word)) {
        return false;
    }
    return !word.empty() || readRowWord(walk, word);
}

bool readPairEnd(BulletinWalk& walk, bool lastColumn) {
    if (!lastColumn) {
        return readSeparator(walk);
    }
    takeCharacter(walk, walk.cutWordRest);
    return true;
}
