#include "tables/table_title.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include "scan/scan_file.h"

namespace {

constexpr const char* knownModels[] = {"GFS", "GFSX", "HRRR", "RAP", "NAM", "NAM4KM",
                                       "ETA", "AVN",  "MRF",  "NBM", "RUC", "SREF"};

bool isKnownModel(std::string_view word) {
    return std::any_of(std::begin(knownModels), std::end(knownModels),
                       [&](const char* model) { return word == model; });
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The parts of a line parted by a tab or by two blanks or more, each with single blanks.
std::vector<std::string> partsOf(const std::string& line) {
    std::vector<std::string> parts;
    std::string part;
    std::size_t at = 0;
    while (at < line.size()) {
        if (!isBlank(line[at])) {
            part += line[at++];
            continue;
        }
        std::size_t end = at;
        while (end < line.size() && isBlank(line[end])) {
            ++end;
        }
        const bool gap = end - at > 1 || line[at] == '\t';
        if (gap && !part.empty()) {
            parts.push_back(part);
            part.clear();
        } else if (!part.empty() && end < line.size()) {
            // A blank that ends the line (a CR of a CR LF file) parts nothing.
            part += ' ';
        }
        at = end;
    }
    if (!part.empty()) {
        parts.push_back(part);
    }
    return parts;
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    return words;
}

}  // namespace

TableTitle titleOfLines(const std::vector<std::string>& lines) {
    TableTitle title;
    bool runFound = false;
    for (const std::string& line : lines) {
        for (const std::string& part : partsOf(line)) {
            const std::vector<std::string> words = wordsOf(part);
            for (std::size_t w = 0; w < words.size(); ++w) {
                if (title.model.empty() && isKnownModel(words[w])) {
                    title.model = words[w];
                }
                if (!runFound && words[w] == "RUN") {
                    runFound = true;
                    for (std::size_t r = w + 1; r < words.size(); ++r) {
                        title.run += (r == w + 1 ? "" : " ") + words[r];
                    }
                }
            }
        }
    }
    if (lines.empty()) {
        return title;
    }
    const std::vector<std::string> parts = partsOf(lines.front());
    for (std::size_t p = 1; p < parts.size(); ++p) {
        const std::vector<std::string> words = wordsOf(parts[p]);
        if ((words.size() == 1 && isKnownModel(words[0])) || words.front() == "RUN") {
            continue;
        }
        title.place += (title.place.empty() ? "" : ", ") + parts[p];
    }
    return title;
}

TableTitle readTableTitle(const DataFile& file) {
    constexpr std::size_t lineLength = 160;
    ScanFile scan;
    openScanFile(scan, file.descriptor, 4096);
    std::vector<std::string> lines;
    std::string line;
    while (static_cast<int>(lines.size()) < tableTitleLines && scanLine(scan, line, lineLength)) {
        const std::vector<std::string> words = wordsOf(line);
        if (!words.empty() && words.front() == "FHR") {
            break;
        }
        lines.push_back(line);
    }
    closeScanFile(scan);
    return titleOfLines(lines);
}
