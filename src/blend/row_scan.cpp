#include "blend/row_scan.h"

#include "scan/scan_number.h"

bool findRow(ScanFile& in, std::string_view label, std::string_view nextStation) {
    return skipPastWord(in, label, nextStation);
}

bool readRowWord(ScanFile& in, std::string& word, std::string_view nextStation) {
    return scanWord(in, word) && word != nextStation;  // a word is never empty
}

bool readRowInteger(ScanFile& in, std::int32_t& value) {
    return scanInteger(in, value);
}

bool readRowIntegers(ScanFile& in, std::int32_t* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!readRowInteger(in, values[i])) {
            return false;
        }
    }
    return true;
}

bool readSeparator(ScanFile& in) {
    char separator = 0;
    return scanChar(in, separator);
}

bool readPairEnd(ScanFile& in, bool lastColumn) {
    const bool read = readSeparator(in);
    return read || lastColumn;
}
