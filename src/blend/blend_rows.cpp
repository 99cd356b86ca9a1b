#include "blend/blend_rows.h"

#include <algorithm>

namespace {

std::size_t labelIndex(std::string_view label) {
    return static_cast<std::size_t>(std::find(blendRowLabels.begin(), blendRowLabels.end(), label) -
                                    blendRowLabels.begin());
}

// The first word of a line and where it starts.
std::string_view firstWord(const ScanFile& in, std::string_view line, std::size_t& start) {
    start = 0;
    while (start < line.size() && scanIsBlank(in, line[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < line.size() && !scanIsBlank(in, line[end])) {
        ++end;
    }
    return line.substr(start, end - start);
}

}  // namespace

bool blendRowFound(const BlendRows& rows, std::string_view label) {
    return rows.found[labelIndex(label)];
}

bool readBlendRows(ScanFile& in, const BulletinBounds& bounds, BlendRows& rows) {
    rows = BlendRows{};
    if (!scanSeek(in, bounds.rowsStart, bounds.bodyEnd)) {
        return false;
    }
    std::string line;
    // Reading from the header's end, the rest of the header line is no row.
    if (bounds.rowsStart == bounds.bodyStart) {
        scanLine(in, line, 0);
    }
    std::size_t left = rows.lines.size();
    while (left > 0 && scanLine(in, line, blendLineLength)) {
        std::size_t start = 0;
        const std::size_t index = labelIndex(firstWord(in, line, start));
        if (index < rows.lines.size() && !rows.found[index]) {
            rows.found[index] = true;
            rows.lines[index] = line.substr(start);
            --left;
        }
    }
    return true;
}

bool blendField(const ScanFile& in, std::string_view line, int field, std::int32_t& value) {
    const std::size_t from = 4 + 3 * static_cast<std::size_t>(field - 1);
    std::string text;
    for (std::size_t at = from; at < from + 3 && at < line.size(); ++at) {
        if (!scanIsBlank(in, line[at])) {
            text += line[at];
        }
    }
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = std::string_view(text).substr(negative ? 1 : 0);
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    std::int32_t magnitude = 0;
    for (const char c : digits) {
        magnitude = magnitude * 10 + (c - '0');
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

bool blendValuesAtHours(const ScanFile& in, const BlendRows& rows, std::string_view label,
                        int first, int step, int count, std::int32_t* values,
                        std::string_view& unreadLabel) {
    const std::size_t fhr = labelIndex("FHR");
    const std::size_t row = labelIndex(label);
    unreadLabel = "FHR";
    if (!rows.found[fhr]) {
        return false;
    }
    const std::string& hours = rows.lines[fhr];
    const int fields = static_cast<int>(hours.size() < 4 ? 0 : (hours.size() - 4 + 2) / 3);
    for (int i = 0; i < count; ++i) {
        const int hour = first + i * step;
        int field = 1;
        std::int32_t named = 0;
        while (field <= fields && !(blendField(in, hours, field, named) && named == hour)) {
            ++field;
        }
        unreadLabel = "FHR";
        if (field > fields) {
            return false;
        }
        unreadLabel = label;
        if (!rows.found[row] || !blendField(in, rows.lines[row], field, values[i])) {
            return false;
        }
    }
    return true;
}
