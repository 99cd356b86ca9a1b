#include "tables/table_file.h"

#include <iostream>

#include "shell/word_scan.h"

bool skipToFirstRow(std::istream& in, const std::string& name) {
    if (skipPastWord(in, "FHR")) {
        return true;
    }
    std::cout << "No FHR marker was found in the file " << name << ", so no table was made."
              << std::endl;
    return false;
}

void tellMissingRows(const std::string& name, int rowsRead, int rowCount) {
    if (rowsRead < rowCount) {
        std::cout << "Only " << rowsRead << " of " << rowCount
                  << " forecast hours could be read from " << name << "." << std::endl;
    }
}
