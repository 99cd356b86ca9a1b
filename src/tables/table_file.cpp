#include "tables/table_file.h"

#include <algorithm>
#include <iomanip>
#include <string_view>

#include "io/option_word.h"

void writeHeadingLine(std::ostream& report, std::span<const TableColumn> columns) {
    report << std::setiosflags(std::ios::left);
    for (const TableColumn& column : columns) {
        report << std::setw(column.width) << column.heading;
    }
    report << std::endl;
}

namespace {

// A first line longer than this names no kind of file.
constexpr std::size_t keptFirstLine = 4096;

// How far before "GUIDANCE" a Blend header's "NBM" may stand ("NBM V5.0 NBS GUIDANCE").
constexpr int blendHeaderWords = 3;

// True when the words `first` and `second` follow one another in `line`.
bool holdsWordPair(std::string_view line, std::string_view first, std::string_view second) {
    std::string_view previous;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t\r\f\v", at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t\r\f\v", start), line.size());
        const std::string_view word = line.substr(start, end - start);
        if (previous == first && word == second) {
            return true;
        }
        previous = word;
        at = end;
    }
    return false;
}

// The files that wxguide extract writes name themselves on their first line.
ForeignFile kindNamedOnFirstLine(ScanFile& in, TableKind kind) {
    std::string line;
    if (!scanLine(in, line, keptFirstLine)) {
        return ForeignFile::none;
    }
    if (kind == TableKind::modelColumn && holdsWordPair(line, "SEVERE", "WEATHER")) {
        return ForeignFile::severeWeather;
    }
    if (kind == TableKind::severeWeather && holdsWordPair(line, "MODEL", "COLUMN")) {
        return ForeignFile::modelColumn;
    }
    return ForeignFile::none;
}

void tellForeignFile(ForeignFile foreign, TableKind kind, const std::string& name,
                     std::ostream& messages) {
    const char* wanted =
        kind == TableKind::modelColumn ? "a model column file" : "a severe weather file";
    switch (foreign) {
        case ForeignFile::bulletins:
            messages << name << " is a bulletin file for option 1, not " << wanted << std::endl;
            break;
        case ForeignFile::modelColumn:
            messages << name << " is a model column file for options 2 to 5, not " << wanted
                     << std::endl;
            break;
        case ForeignFile::severeWeather:
            messages << name << " is a severe weather file for option 6, not " << wanted
                     << std::endl;
            break;
        case ForeignFile::bufkitProfile:
            messages << name << " is a BUFKIT profile: make its files with wxguide extract " << name
                     << std::endl;
            break;
        case ForeignFile::none:
            break;
    }
}

}  // namespace

ForeignFile readTableHeader(ScanFile& in, TableKind kind, bool& foundFirstRow) {
    foundFirstRow = false;
    const ForeignFile named = kindNamedOnFirstLine(in, kind);
    if (named != ForeignFile::none) {
        return named;
    }
    // The first line may hold the first row's marker itself.
    if (!scanSeek(in, 0)) {
        return ForeignFile::none;
    }
    std::string word;
    std::string previous;
    int wordsSinceBlend = blendHeaderWords + 1;
    while (scanWord(in, word)) {
        if (word == "FHR") {
            foundFirstRow = true;
            return ForeignFile::none;
        }
        ++wordsSinceBlend;
        if (word == "NBM") {
            wordsSinceBlend = 0;
        }
        if (word == "GUIDANCE" && (previous == "MOS" || wordsSinceBlend <= blendHeaderWords)) {
            return ForeignFile::bulletins;
        }
        // A BUFKIT profile lists its parameters as "SNPARM = PRES;TMPC;..."
        if ((previous == "SNPARM" || previous == "STNPRM") && word.starts_with('=')) {
            return ForeignFile::bufkitProfile;
        }
        previous = std::move(word);
    }
    return ForeignFile::none;
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

bool startTableFile(const DataFile& file, TableKind kind, ScanFile& data, std::ostream& messages) {
    openScanFile(data, file.descriptor);
    bool foundFirstRow = false;
    const ForeignFile foreign = readTableHeader(data, kind, foundFirstRow);
    if (foreign != ForeignFile::none) {
        tellForeignFile(foreign, kind, file.name, messages);
        return false;
    }
    statusLines(messages) << "You have a valid file." << std::endl;
    if (foundFirstRow) {
        return true;
    }
    messages << "No FHR marker was found in the file " << file.name << ", so no table was made."
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
