#include "verify/mos_csv.h"

#include <charconv>

#include "verify/verify_time.h"

namespace {

struct MosColumns {
    std::size_t runtime = 0;
    std::size_t ftime = 0;
    std::optional<std::size_t> maxMin;
    std::optional<std::size_t> pop12;
};

std::optional<double> fieldValue(const std::vector<std::string_view>& fields,
                                 std::optional<std::size_t> column) {
    return column ? archiveValue(fields[*column]) : std::nullopt;
}

// The archive writes "2026-10-01 12:00:00", sometimes with its zone "+00" after it.
bool readArchiveHour(std::string_view text, std::int64_t& hour) {
    if (text.ends_with("+00")) {
        text.remove_suffix(3);
    }
    std::int64_t minutes = 0;
    if (!readUtcTime(text, minutes) || minutes % 60 != 0) {
        return false;
    }
    hour = minutes / 60;
    return true;
}

}  // namespace

std::string_view archiveModelName(MosModel model) {
    switch (model) {
        case MosModel::nbs:
            return "NBS";
        case MosModel::gfs:
            return "GFS";
        case MosModel::mex:
            return "MEX";
    }
    return "";
}

std::string_view maxMinColumn(MosModel model) {
    return model == MosModel::nbs ? "txn" : "n_x";
}

std::optional<double> archiveValue(std::string_view text) {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    double value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || std::from_chars(text.data(), end, value).ptr != end) {
        return std::nullopt;
    }
    if (value >= 999 || value <= -98) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> csvFields(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    std::vector<std::string_view> fields;
    for (std::size_t at = 0;;) {
        const std::size_t comma = line.find(',', at);
        fields.push_back(line.substr(at, comma == std::string_view::npos ? line.npos : comma - at));
        if (comma == std::string_view::npos) {
            return fields;
        }
        at = comma + 1;
    }
}

std::optional<std::size_t> columnOf(const std::vector<std::string_view>& header,
                                    std::string_view name) {
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name) {
            return i;
        }
    }
    return std::nullopt;
}

bool readMosCsv(std::string_view text, MosModel model, std::vector<MosValue>& values,
                std::string& fault) {
    std::size_t lineNumber = 0;
    std::vector<std::string_view> header;
    MosColumns columns;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (line.empty() || line == "\r") {
            continue;
        }
        const std::vector<std::string_view> fields = csvFields(line);
        if (header.empty()) {
            header = fields;
            const auto runtime = columnOf(header, "runtime");
            const auto ftime = columnOf(header, "ftime");
            if (!runtime || !ftime) {
                fault = "line 1 names no runtime and ftime columns";
                return false;
            }
            columns = {*runtime, *ftime, columnOf(header, maxMinColumn(model)),
                       columnOf(header, "p12")};
            continue;
        }
        MosValue value;
        if (fields.size() < header.size() ||
            !readArchiveHour(fields[columns.runtime], value.runHour) ||
            !readArchiveHour(fields[columns.ftime], value.validHour)) {
            fault = "line " + std::to_string(lineNumber) + " is not a row of the table";
            return false;
        }
        value.maxMin = fieldValue(fields, columns.maxMin);
        value.pop12 = fieldValue(fields, columns.pop12);
        values.push_back(value);
    }
    if (header.empty()) {
        fault = "it is empty";
        return false;
    }
    return true;
}
