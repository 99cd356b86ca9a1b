#include "export/csv_table.h"

#include <charconv>
#include <cmath>

#include "io/platform.h"

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string csvNumber(const std::optional<double>& value) {
    if (!value || !std::isfinite(*value)) {
        return {};
    }
    char digits[64];
    const auto written = std::to_chars(digits, digits + sizeof digits, *value);
    return std::string(digits, written.ptr);
}

void writeCsvRecord(std::ostream& out, std::span<const std::string> fields) {
    bool first = true;
    for (const std::string& field : fields) {
        out << (first ? "" : ",") << csvField(field);
        first = false;
    }
    out << crLfLineEnd();
}
