#include "verify/asos_csv.h"

#include "verify/mos_csv.h"
#include "verify/verify_time.h"

namespace {

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// snTTT: a sign digit (1 below zero) and tenths of a degree C, as F.
std::optional<double> signedTenthsAsF(std::string_view group) {
    if (!allDigits(group) || (group[0] != '0' && group[0] != '1')) {
        return std::nullopt;
    }
    const double tenths = (group[1] - '0') * 100 + (group[2] - '0') * 10 + (group[3] - '0');
    const double celsius = (group[0] == '1' ? -tenths : tenths) / 10.0;
    return celsius * 9.0 / 5.0 + 32.0;
}

std::optional<double> precipitation(std::string_view field, bool& isTrace) {
    isTrace = field == "T";
    return isTrace ? std::optional<double>(0.0) : archiveValue(field);
}

}  // namespace

std::int64_t nominalHour(std::int64_t minute) {
    const std::int64_t shifted = minute + 10;
    return shifted >= 0 ? shifted / 60 : -((-shifted + 59) / 60);
}

void readRemarkGroups(std::string_view metar, AsosReport& report) {
    const std::size_t remarks = metar.find(" RMK ");
    if (remarks == std::string_view::npos) {
        return;
    }
    std::string_view rest = metar.substr(remarks + 5);
    while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        const std::string_view group = rest.substr(0, blank);
        rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
        if (group.size() != 5) {
            continue;
        }
        if (group[0] == '1') {
            report.maxSixHourF = signedTenthsAsF(group.substr(1));
        } else if (group[0] == '2') {
            report.minSixHourF = signedTenthsAsF(group.substr(1));
        } else if (group[0] == '6' && allDigits(group.substr(1))) {
            report.precipSixHour = std::stoi(std::string(group.substr(1))) / 100.0;
        }
    }
}

bool readAsosCsv(std::string_view text, std::vector<AsosReport>& reports, std::string& fault) {
    std::vector<std::string_view> header;
    std::optional<std::size_t> valid, tmpf, p01i, metar;
    std::size_t lineNumber = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (line.empty() || line == "\r" || line.starts_with('#')) {
            continue;
        }
        const std::vector<std::string_view> fields = csvFields(line);
        if (header.empty()) {
            header = fields;
            valid = columnOf(header, "valid");
            tmpf = columnOf(header, "tmpf");
            p01i = columnOf(header, "p01i");
            metar = columnOf(header, "metar");
            if (!valid || columnOf(header, "station") != 0) {
                fault =
                    "line " + std::to_string(lineNumber) + " names no station and valid columns";
                return false;
            }
            continue;
        }
        AsosReport report;
        if (fields.size() < header.size() || !readUtcTime(fields[*valid], report.minute)) {
            fault = "line " + std::to_string(lineNumber) + " is not a report";
            return false;
        }
        bool trace = false;
        report.tmpf = tmpf ? archiveValue(fields[*tmpf]) : std::nullopt;
        report.p01i = p01i ? precipitation(fields[*p01i], trace) : std::nullopt;
        if (metar) {
            report.special = fields[*metar].starts_with("SPECI");
            readRemarkGroups(fields[*metar], report);
        }
        reports.push_back(report);
    }
    if (header.empty()) {
        fault = "it is empty";
        return false;
    }
    return true;
}
