#include "tables/table_file.h"

#include <iomanip>

void writeHeadingLine(std::ostream& report, std::span<const TableColumn> columns) {
    report << std::setiosflags(std::ios::left);
    for (const TableColumn& column : columns) {
        report << std::setw(column.width) << column.heading;
    }
    report << std::endl;
}

bool startTableFile(const DataFile& file, ScanFile& data, std::ostream& messages) {
    messages << "You have a valid file." << std::endl;
    openScanFile(data, file.descriptor);
    return skipToFirstRow(data, file.name, messages);
}

std::string firstLineOf(const DataFile& file) {
    constexpr std::size_t titleLength = 160;
    ScanFile scan;
    std::string line;
    openScanFile(scan, file.descriptor, 4096);
    scanLine(scan, line, titleLength);
    closeScanFile(scan);
    std::string heading;
    for (const char c : line) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || static_cast<unsigned char>(c) < 32;
        if (!blank) {
            heading += c;
        } else if (!heading.empty() && heading.back() != ' ') {
            heading += ' ';
        }
    }
    if (!heading.empty() && heading.back() == ' ') {
        heading.pop_back();
    }
    return heading;
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
