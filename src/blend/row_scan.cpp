#include "blend/row_scan.h"

#include "shell/word_scan.h"

bool findRow(std::istream& in, std::string_view label, std::string_view nextStation) {
    return skipPastWord(in, label, nextStation);
}

bool readRowWord(std::istream& in, std::string& word, std::string_view nextStation) {
    return readWord(in, word) && word != nextStation;  // a word is never empty
}

bool readRowInteger(std::istream& in, std::int32_t& value) {
    return static_cast<bool>(in >> value);
}

bool readRowIntegers(std::istream& in, std::int32_t* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!readRowInteger(in, values[i])) {
            return false;
        }
    }
    return true;
}

bool readSeparator(std::istream& in) {
    char separator = 0;
    return static_cast<bool>(in >> separator);
}

bool readPairEnd(std::istream& in, bool lastColumn) {
    const bool read = readSeparator(in);
    return read || lastColumn;
}
