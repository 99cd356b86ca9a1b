#include "fetch/grib_index.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

bool listedAs(const IndexLine& line, const NcepField& field) {
    if (line.variable != field.variable) {
        return false;
    }
    // Older files name the whole atmosphere as one layer.
    return line.level == field.level ||
           (field.level == "entire atmosphere" &&
            line.level == "entire atmosphere (considered as a single layer)");
}

std::string filterWord(std::string_view text) {
    std::string word(text);
    std::replace(word.begin(), word.end(), ' ', '_');
    return word;
}

bool readOffset(std::string_view text, std::uint64_t& offset) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), offset);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> splitColons(std::string_view line) {
    std::vector<std::string_view> parts;
    std::size_t at = 0;
    while (parts.size() < 5) {
        const std::size_t colon = line.find(':', at);
        if (colon == std::string_view::npos) {
            parts.push_back(line.substr(at));
            return parts;
        }
        parts.push_back(line.substr(at, colon - at));
        at = colon + 1;
    }
    std::string_view time = line.substr(at);
    if (time.ends_with(':')) {
        time.remove_suffix(1);
    }
    parts.push_back(time);
    return parts;
}

// One line read into `read`; the fault without the line's number, or empty.
std::string readIndexLine(std::string_view text, IndexLine& read) {
    const std::vector<std::string_view> parts = splitColons(text);
    if (parts.size() < 5) {
        return "fewer than five fields";
    }
    if (!readOffset(parts[1], read.offset)) {
        return "the offset " + std::string(parts[1]) + " is no number";
    }
    const std::string_view date = parts[2];
    if (date.size() != 12 || !date.starts_with("d=") ||
        date.find_first_not_of("0123456789", 2) != std::string_view::npos) {
        return "the date " + std::string(date) + " is no d=YYYYMMDDHH";
    }
    read.number = parts[0];
    read.run = date.substr(2);
    read.variable = parts[3];
    read.level = parts[4];
    read.time = parts.size() > 5 ? std::string(parts[5]) : std::string();
    return {};
}

}  // namespace

bool fieldOverAPeriod(GribField field) {
    return field == fieldPrecip || field == fieldLatentHeat || field == fieldSensibleHeat;
}

std::string gribFilterFields() {
    std::vector<std::string> variables;
    std::vector<std::string> levels;
    for (const NcepField& field : ncepFields) {
        const std::string variable = "var_" + filterWord(field.variable) + "=on";
        const std::string level = "lev_" + filterWord(field.level) + "=on";
        if (std::find(variables.begin(), variables.end(), variable) == variables.end()) {
            variables.push_back(variable);
        }
        if (std::find(levels.begin(), levels.end(), level) == levels.end()) {
            levels.push_back(level);
        }
    }
    std::string words;
    for (const std::string& word : variables) {
        words += (words.empty() ? "" : "&") + word;
    }
    for (const std::string& word : levels) {
        words += "&" + word;
    }
    return words;
}

bool readGribIndex(std::string_view text, std::vector<IndexLine>& lines, std::string& fault) {
    lines.clear();
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        IndexLine read;
        std::string problem = readIndexLine(line, read);
        if (problem.empty() && !lines.empty() && read.offset < lines.back().offset) {
            problem = "its offset is lower than the line's before";
        }
        if (!problem.empty()) {
            fault = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
        lines.push_back(std::move(read));
    }
    if (lines.empty()) {
        fault = "no line";
        return false;
    }
    return true;
}

std::string writeByteRange(const ByteRange& range) {
    return std::to_string(range.first) + "-" +
           (range.last ? std::to_string(*range.last) : std::string());
}

std::vector<ByteRange> wantedRanges(const std::vector<IndexLine>& lines,
                                    const WantedLines& wanted) {
    std::vector<ByteRange> ranges;
    bool lastTaken = false;  // the message before was taken: this one joins its range
    for (std::size_t at = 0; at < lines.size();) {
        // The lines of one message: those sharing its offset.
        std::size_t next = at;
        bool want = false;
        while (next < lines.size() && lines[next].offset == lines[at].offset) {
            want = want || (next < wanted.size() && wanted[next]);
            ++next;
        }
        const std::optional<std::uint64_t> last =
            next < lines.size() ? std::optional<std::uint64_t>(lines[next].offset - 1)
                                : std::nullopt;
        if (want && lastTaken) {
            ranges.back().last = last;
            ++ranges.back().messages;
        } else if (want) {
            ranges.push_back({lines[at].offset, last, 1});
        }
        lastTaken = want;
        at = next;
    }
    return ranges;
}

WantedLines linesExtractReads(const std::vector<IndexLine>& lines) {
    WantedLines wanted(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        wanted[i] = std::any_of(ncepFields.begin(), ncepFields.end(),
                                [&](const NcepField& field) { return listedAs(lines[i], field); });
    }
    return wanted;
}

std::vector<GribField> fieldsNotListed(const std::vector<IndexLine>& lines) {
    std::vector<GribField> missing;
    for (std::size_t field = 0; field < ncepFields.size(); ++field) {
        if (std::none_of(lines.begin(), lines.end(), [&](const IndexLine& line) {
                return listedAs(line, ncepFields[field]);
            })) {
            missing.push_back(static_cast<GribField>(field));
        }
    }
    return missing;
}
