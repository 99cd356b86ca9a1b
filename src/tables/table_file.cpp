#include "tables/table_file.h"

#include <iomanip>

#include "io/option_word.h"

void writeHeadingLine(std::ostream& report, std::span<const TableColumn> columns) {
    report << std::setiosflags(std::ios::left);
    for (const TableColumn& column : columns) {
        report << std::setw(column.width) << column.heading;
    }
    report << std::endl;
}

bool startTableFile(const DataFile& file, ScanFile& data, std::ostream& messages) {
    statusLines(messages) << "You have a valid file." << std::endl;
    openScanFile(data, file.descriptor);
    return skipToFirstRow(data, file.name, messages);
}

bool skipToFirstRow(ScanFile& in, const std::string& name, std::ostream& messages) {
    if (skipPastWord(in, "FHR")) {
        return true;
    }
    messages << "No FHR marker was found in the file " << name << ", so no table was made."
             << std::endl;
    return false;
}

bool tellNoRows(const std::string& name, int rowsRead, std::ostream& messages) {
    if (rowsRead > 0) {
        return false;
    }
    messages << "No forecast hour could be read after the FHR marker in the file " << name
             << ", so no table was made." << std::endl;
    return true;
}

void tellMissingRows(const std::string& name, int rowsRead, int rowCount, std::ostream& messages) {
    if (rowsRead < rowCount) {
        messages << "Only " << rowsRead << " of " << rowCount
                 << " forecast hours could be read from " << name << "." << std::endl;
    }
}
