#include "net/sources.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/data_places.h"

namespace {

bool isProductName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

bool isPlaceholder(std::string_view name) {
    return std::find(std::begin(sourcePlaceholders), std::end(sourcePlaceholders), name) !=
           std::end(sourcePlaceholders);
}

bool isStationPlaceholder(std::string_view name) {
    return name == "ID" || name == "id" || name == "ID3" || name == "id3";
}

// The URL's own fault, or empty. Notes whether a placeholder names the station or the day.
std::string urlFault(std::string_view url, Source& source) {
    std::size_t schemeEnd = 0;
    if (url.starts_with("https://")) {
        schemeEnd = 8;
    } else if (url.starts_with("http://")) {
        schemeEnd = 7;
    } else {
        return "the URL is not an absolute http:// or https:// one";
    }
    const std::size_t hostEnd = url.find_first_of("/?#", schemeEnd);
    const std::string_view host = url.substr(schemeEnd, hostEnd - schemeEnd);
    if (host.empty() || host.find_first_of("{}@") != std::string_view::npos) {
        return "the URL names no host of its own";
    }
    for (std::size_t at = 0; at < url.size(); ++at) {
        const unsigned char c = static_cast<unsigned char>(url[at]);
        if (c <= ' ' || c >= 127) {
            return "the URL holds a blank or a character that is not plain ASCII";
        }
        if (c == '}') {
            return "the URL holds a } that closes no placeholder";
        }
        if (c != '{') {
            continue;
        }
        const std::size_t close = url.find('}', at);
        if (close == std::string_view::npos) {
            return "the URL holds a { that is never closed";
        }
        const std::string_view name = url.substr(at + 1, close - at - 1);
        if (!isPlaceholder(name)) {
            return "the URL holds the unknown placeholder {" + std::string(name) + "}";
        }
        source.perStation = source.perStation || isStationPlaceholder(name);
        source.namesDay = source.namesDay || name == "DD" || name == "YYYYMMDD" || name == "sdate";
        at = close;
    }
    return {};
}

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string fourDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d", value);
    return text;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[(month + 11) % 12];
}

std::string isoTime(int year, int month, int day, int hour) {
    return fourDigits(year) + "-" + twoDigits(month) + "-" + twoDigits(day) + "T" +
           twoDigits(hour) + ":00Z";
}

// The placeholders of a GRIB2 hour and its place; empty for any other.
std::string hourPlaceholderValue(std::string_view name, const SourceHour& values) {
    const SourceBox box = boxAround(values.latitude, values.longitude);
    if (name == "FFF") {
        char text[16];
        std::snprintf(text, sizeof text, "%03d", values.forecastHour);
        return text;
    }
    if (name == "fields")
        return values.fields;
    if (name == "toplat")
        return std::to_string(box.top);
    if (name == "bottomlat")
        return std::to_string(box.bottom);
    if (name == "leftlon")
        return std::to_string(box.left);
    return std::to_string(box.right);
}

bool isHourPlaceholder(std::string_view name) {
    return name == "FFF" || name == "fields" || name == "toplat" || name == "bottomlat" ||
           name == "leftlon" || name == "rightlon";
}

std::string placeholderValue(std::string_view name, const SourceValues& values) {
    const std::string last3 =
        values.station.size() >= 3 ? values.station.substr(values.station.size() - 3) : "";
    if (name == "YYYY")
        return fourDigits(values.year);
    if (name == "MM")
        return twoDigits(values.month);
    if (name == "DD")
        return twoDigits(values.day);
    if (name == "HH")
        return twoDigits(values.hour);
    if (name == "YYYYMMDD") {
        return fourDigits(values.year) + twoDigits(values.month) + twoDigits(values.day);
    }
    if (name == "sdate")
        return isoTime(values.year, values.month, values.day, values.hour);
    if (name == "edate") {
        // The window ends a day after the run.
        int year = values.year, month = values.month, day = values.day + 1;
        if (day > daysInMonth(year, month)) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
        return isoTime(year, month, day, values.hour);
    }
    if (name == "ID")
        return values.station;
    if (name == "id")
        return lowerCase(values.station);
    if (name == "ID3")
        return last3;
    if (name == "id3")
        return lowerCase(last3);
    // The GFS profiles of the 00 and 12 UTC runs are named gfs3, those of 06 and 18 gfsm.
    return values.hour % 12 == 0 ? "gfs3" : "gfsm";
}

}  // namespace

SourceBox boxAround(double latitude, double longitude) {
    const double east = longitude < 0.0 ? longitude + 360.0 : longitude;
    SourceBox box;
    box.top = std::min(90, static_cast<int>(std::ceil(latitude + 1.0)));
    box.bottom = std::max(-90, static_cast<int>(std::floor(latitude - 1.0)));
    box.left = static_cast<int>(std::floor(east - 1.0));
    box.right = static_cast<int>(std::ceil(east + 1.0));
    box.left += box.left < 0 ? 360 : 0;
    box.right -= box.right > 360 ? 360 : 0;
    return box;
}

bool readSources(std::string_view text, std::string_view tableName, std::vector<Source>& sources,
                 std::string& fault) {
    sources.clear();
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        std::vector<std::string_view> words;
        std::size_t at = 0;
        while (at < line.size()) {
            const std::size_t start = line.find_first_not_of(" \t", at);
            if (start == std::string_view::npos) {
                break;
            }
            const std::size_t stop = std::min(line.find_first_of(" \t", start), line.size());
            words.push_back(line.substr(start, stop - start));
            at = stop;
        }
        if (words.empty() || words.front().starts_with("#")) {
            continue;
        }
        std::string problem;
        Source source;
        if (!isProductName(words[0])) {
            problem = "the product name is not lower-case letters, digits and -";
        } else if (words.size() != 2) {
            problem =
                words.size() < 2 ? "no URL follows the product" : "more than a product and a URL";
        } else {
            problem = urlFault(words[1], source);
        }
        if (!problem.empty()) {
            fault =
                std::string(tableName) + ", line " + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
        source.product = words[0];
        source.urlTemplate = words[1];
        source.line = lineNumber;
        sources.push_back(std::move(source));
    }
    return true;
}

std::string expandSource(std::string_view urlTemplate, const SourceValues& values,
                         const SourceHour& hour) {
    std::string url;
    std::size_t at = 0;
    while (at < urlTemplate.size()) {
        const std::size_t open = urlTemplate.find('{', at);
        const std::size_t close =
            open == std::string_view::npos ? open : urlTemplate.find('}', open);
        if (close == std::string_view::npos) {
            url.append(urlTemplate.substr(at));
            break;
        }
        url.append(urlTemplate.substr(at, open - at));
        const std::string_view name = urlTemplate.substr(open + 1, close - open - 1);
        url += isHourPlaceholder(name) ? hourPlaceholderValue(name, hour)
                                       : placeholderValue(name, values);
        at = close + 1;
    }
    return url;
}

std::vector<const Source*> sourcesOf(const std::vector<Source>& sources, std::string_view product) {
    std::vector<const Source*> found;
    for (const Source& source : sources) {
        if (source.product == product) {
            found.push_back(&source);
        }
    }
    return found;
}

std::string hostOfUrl(std::string_view url) {
    const std::size_t scheme = url.find("://");
    const std::size_t start = scheme == std::string_view::npos ? 0 : scheme + 3;
    const std::size_t end = url.find_first_of("/?#", start);
    return std::string(url.substr(start, end == std::string_view::npos ? end : end - start));
}

std::vector<std::filesystem::path> sourcesTablePlaces(const std::filesystem::path& program,
                                                      std::string_view dataFolder) {
    if (const char* named = std::getenv("WXGUIDE_SOURCES"); named != nullptr && *named != '\0') {
        return {std::filesystem::path(named)};
    }
    return installedDataPlaces(program, dataFolder, sourcesTableName);
}
