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

// A GRIB2 file opens with "GRIB", two reserved bytes, the discipline and the edition 2; a
// discipline byte that reads as a line end cuts the line short before the edition.
bool opensAsGrib2(std::string_view line) {
    constexpr std::size_t editionAt = 7;
    return line.starts_with("GRIB") && (line.size() <= editionAt || line[editionAt] == 2);
}

// The files that wxguide extract writes name themselves on their first line.
ForeignFile kindNamedOnFirstLine(ScanFile& in, TableKind kind) {
    std::string line;
    if (!scanLine(in, line, keptFirstLine)) {
        return ForeignFile::none;
    }
    if (opensAsGrib2(line)) {
        return ForeignFile::grib2;
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
        case ForeignFile::grib2:
            messages << name
                     << " is a GRIB2 file: make its files with wxguide extract --station ID "
                     << name << std::endl;
            break;
        case ForeignFile::none:
            break;
    }
}

}  // namespace

namespace {

// The lines at the start of a file read word by word: where a bulletin's header stands,
// after a feed's framing lines, and where a BUFKIT profile lists its parameters.
constexpr int headLines = 16;

// How far before a header word farther on its preceding words are looked for.
constexpr std::uint64_t lookBehind = 4096;

// The words that end a header, searched for past the first lines with the first row's
// marker; each is then judged by the words around it.
constexpr std::string_view headerWords[] = {"GUIDANCE", "SNPARM", "STNPRM"};

// What the words read so far tell of a header.
struct HeaderWords {
    std::string previous;
    int wordsSinceBlend = blendHeaderWords + 1;
};

// Takes the next word of a file read in order; what it shows the file to be, if anything.
ForeignFile judgeWord(HeaderWords& seen, std::string_view word) {
    ++seen.wordsSinceBlend;
    if (word == "NBM") {
        seen.wordsSinceBlend = 0;
    }
    if (word == "GUIDANCE" &&
        (seen.previous == "MOS" || seen.wordsSinceBlend <= blendHeaderWords)) {
        return ForeignFile::bulletins;
    }
    // A BUFKIT profile lists its parameters as "SNPARM = PRES;TMPC;..."
    if ((seen.previous == "SNPARM" || seen.previous == "STNPRM") && word.starts_with('=')) {
        return ForeignFile::bufkitProfile;
    }
    seen.previous = word;
    return ForeignFile::none;
}

// Reads the first lines word by word. Stops at "FHR" (`sawFirstRow`) or a header; else
// returns with `judgedUpTo` where the lines not judged whole begin.
ForeignFile judgeHeadLines(ScanFile& in, HeaderWords& seen, bool& sawFirstRow,
                           std::uint64_t& judgedUpTo) {
    sawFirstRow = false;
    judgedUpTo = 0;
    std::string line;
    for (int number = 0; number < headLines && scanLine(in, line, keptFirstLine); ++number) {
        // A line cut short may end in part of a word: judged up to its last whole word, and
        // searched again from its start.
        const bool cut = line.size() == keptFirstLine;
        std::size_t at = 0;
        while (true) {
            const std::size_t start = line.find_first_not_of(" \t\r\f\v", at);
            if (start == std::string::npos) {
                break;
            }
            const std::size_t end = std::min(line.find_first_of(" \t\r\f\v", start), line.size());
            if (cut && end == line.size()) {
                break;
            }
            const std::string_view word = std::string_view(line).substr(start, end - start);
            if (word == "FHR") {
                sawFirstRow = true;
                return ForeignFile::none;
            }
            const ForeignFile foreign = judgeWord(seen, word);
            if (foreign != ForeignFile::none) {
                return foreign;
            }
            at = end;
        }
        if (cut) {
            return ForeignFile::none;
        }
        judgedUpTo = scanOffset(in);
    }
    return ForeignFile::none;
}

// Judges the header word headerWords[which] found at `offset` farther on by the words
// before it (a bulletin's "MOS" or "NBM") or the word after it (a profile's "=").
ForeignFile judgeWordAt(const ScanFile& in, std::size_t which, std::uint64_t offset) {
    ScanFile look;
    std::string word;
    if (which > 0) {
        // The word after it is the only one that tells.
        HeaderWords seen;
        seen.previous = headerWords[which];
        const std::uint64_t after = offset + headerWords[which].size();
        if (!openScanAgain(look, in, after) || !scanSeek(look, after) || !scanWord(look, word)) {
            return ForeignFile::none;
        }
        return judgeWord(seen, word);
    }
    // The words before it: the first of the stretch may be the tail of a longer word.
    const std::uint64_t from = offset > lookBehind ? offset - lookBehind : 0;
    if (!openScanAgain(look, in, from) || !scanSeek(look, from, offset)) {
        return ForeignFile::none;
    }
    HeaderWords seen;
    bool first = from > 0;
    while (scanWord(look, word)) {
        if (!first) {
            judgeWord(seen, word);
        }
        first = false;
    }
    return judgeWord(seen, headerWords[which]);
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
    HeaderWords seen;
    bool sawFirstRow = false;
    std::uint64_t judgedUpTo = 0;
    const ForeignFile head = judgeHeadLines(in, seen, sawFirstRow, judgedUpTo);
    if (head != ForeignFile::none) {
        return head;
    }
    if (sawFirstRow) {
        foundFirstRow = scanSeek(in, 0) && skipPastWord(in, "FHR");
        return ForeignFile::none;
    }
    // Farther on, the marker is searched for by whole blocks; a header word met on the way
    // is judged where it stands.
    if (!scanSeek(in, judgedUpTo)) {
        return ForeignFile::none;
    }
    std::uint64_t found[std::size(headerWords)];
    std::fill(std::begin(found), std::end(found), noScanLimit);
    WordWatch watch{headerWords, found};
    foundFirstRow = skipPastWord(in, "FHR", {}, nullptr, &watch);
    // In the order they stand: the first that tells decides, as in a reading word by word.
    std::size_t order[std::size(headerWords)] = {0, 1, 2};
    std::sort(std::begin(order), std::end(order),
              [&found](std::size_t a, std::size_t b) { return found[a] < found[b]; });
    for (const std::size_t which : order) {
        if (found[which] == noScanLimit) {
            break;
        }
        const ForeignFile foreign = judgeWordAt(in, which, found[which]);
        if (foreign != ForeignFile::none) {
            foundFirstRow = false;
            return foreign;
        }
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
    if (foundFirstRow) {
        return true;
    }
    messages << "No FHR marker was found in the file " << file.name << ", so no table was made."
             << std::endl;
    return false;
}

bool tellNoRows(const std::string& name, int rowsRead, std::ostream& messages) {
    // Said only once the rows are known: never just before a refusal.
    if (rowsRead > 0) {
        statusLines(messages) << "You have a valid file." << std::endl;
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
