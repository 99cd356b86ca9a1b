#include "blend/row_scan.h"

#include "scan/scan_number.h"

namespace {

bool blankOrEnd(ScanFile& in) {
    const int next = in.failed ? -1 : scanPeek(in);
    return next == -1 || next == ' ' || (next >= '\t' && next <= '\r');
}

// Takes one non-blank character. When it begins a word, the rest of that word is read too,
// into `rest`: true when the whole word is the next bulletin's station word, which the
// check saw there, though the character alone was all the row wanted.
bool takeCharacterOfStation(BulletinWalk& walk, std::string& rest, bool& taken) {
    rest.clear();
    const bool wordStart = blankOrEnd(walk.in);
    char character = 0;
    taken = scanChar(walk.in, character);
    if (!taken || !wordStart || blankOrEnd(walk.in)) {
        return false;
    }
    scanWord(walk.in, rest);
    return !walk.nextStation.empty() && walk.nextStation.size() == rest.size() + 1 &&
           walk.nextStation.front() == character && walk.nextStation.substr(1) == rest;
}

}  // namespace

bool startBulletin(BulletinWalk& walk, int bulletin) {
    bool found = walk.stationTaken || findBulletinStation(walk.in, bulletin);
    std::string headerWord;
    for (int word = 0; word < 5 && found; ++word) {
        found = scanWord(walk.in, headerWord);
    }
    walk.nextStation = nextStationId(bulletin);
    walk.stationTaken = false;
    walk.cutWordRest.clear();
    return found;
}

bool findRow(BulletinWalk& walk, std::string_view label) {
    if (walk.stationTaken) {
        return false;
    }
    // The rest of a word cut by a separator is the next word as the rows are read.
    if (!walk.cutWordRest.empty()) {
        const bool found = walk.cutWordRest == label;
        walk.cutWordRest.clear();
        if (found) {
            return true;
        }
    }
    return skipPastWord(walk.in, label, walk.nextStation);
}

bool readRowWord(BulletinWalk& walk, std::string& word) {
    return scanWord(walk.in, word) && word != walk.nextStation;  // a word is never empty
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
    bool taken = false;
    if (takeCharacterOfStation(walk, word, taken) || !taken) {
        return false;
    }
    return !word.empty() || readRowWord(walk, word);
}

bool readPairEnd(BulletinWalk& walk, bool lastColumn) {
    if (!lastColumn) {
        return readSeparator(walk);
    }
    bool taken = false;
    walk.stationTaken = takeCharacterOfStation(walk, walk.cutWordRest, taken);
    if (walk.stationTaken) {
        walk.cutWordRest.clear();
    }
    return true;
}
