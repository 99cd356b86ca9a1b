#include "tables/table_file.h"

#include <iomanip>
#include <iostream>

void writeHeadingLine(std::ostream& report, std::span<const TableColumn> columns) {
    report << std::setiosflags(std::ios::left);
    for (const TableColumn& column : columns) {
        report << std::setw(column.width) << column.heading;
    }
    report << std::endl;
}

bool openTableFile(DataFile& file, ScanFile& data) {
    if (!openDataFile(file)) {
        return false;
    }
    std::cout << "You have a valid file." << std::endl;
    openScanFile(data, file.descriptor);
    return skipToFirstRow(data, file.name);
}

bool skipToFirstRow(ScanFile& in, const std::string& name) {
    if (skipPastWord(in, "FHR")) {
        return true;
    }
    std::cout << "No FHR marker was found in the file " << name << ", so no table was made."
              << std::endl;
    return false;
}

bool tellNoRows(const std::string& name, int rowsRead) {
    if (rowsRead > 0) {
        return false;
    }
    std::cout << "No forecast hour could be read after the FHR marker in the file " << name
              << ", so no table was made." << std::endl;
    return true;
}

void tellMissingRows(const std::string& name, int rowsRead, int rowCount) {
    if (rowsRead < rowCount) {
        std::cout << "Only " << rowsRead << " of " << rowCount
                  << " forecast hours could be read from " << name << "." << std::endl;
    }
}
