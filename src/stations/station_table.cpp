#include "stations/station_table.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

#include "io/data_places.h"

namespace {

// Splits one CSV line into its fields; a quoted field may hold commas and "" for a quote.
bool splitFields(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    std::size_t at = 0;
    while (true) {
        std::string field;
        if (at < line.size() && line[at] == '"') {
            ++at;
            while (true) {
                if (at >= line.size()) {
                    return false;  // the closing quote is missing
                }
                if (line[at] == '"') {
                    if (at + 1 < line.size() && line[at + 1] == '"') {
                        field += '"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                field += line[at++];
            }
            if (at < line.size() && line[at] != ',') {
                return false;
            }
        } else {
            const std::size_t end = std::min(line.find(',', at), line.size());
            field = line.substr(at, end - at);
            at = end;
        }
        fields.push_back(std::move(field));
        if (at >= line.size()) {
            return true;
        }
        ++at;  // the comma
    }
}

// Empty where the zone is not known; else whole hours -12 to 14.
bool readUtcOffset(std::string_view text, std::optional<int>& offset) {
    if (text.empty()) {
        return true;
    }
    double hours = 0;
    if (!readDecimal(text, hours) || hours != static_cast<int>(hours) || hours < -12 ||
        hours > 14 || text.find('.') != std::string_view::npos) {
        return false;
    }
    offset = static_cast<int>(hours);
    return true;
}

}  // namespace

bool readDecimal(std::string_view text, double& value) {
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        digits.remove_prefix(1);
    }
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    const std::size_t points =
        static_cast<std::size_t>(std::count(digits.begin(), digits.end(), '.'));
    const std::size_t figures =
        static_cast<std::size_t>(std::count_if(digits.begin(), digits.end(), isDigit));
    if (figures == 0 || points > 1 || figures + points != digits.size()) {
        return false;
    }
    // from_chars takes no leading '+'; the sign is put back by hand.
    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(),
                                              magnitude, std::chars_format::fixed);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return false;
    }
    value = text.front() == '-' ? -magnitude : magnitude;
    return true;
}

bool isStationId(std::string_view text) {
    return text.size() == 4 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) != 0;
           });
}

bool readStationTable(ScanFile& in, std::vector<StationPlace>& table, std::string& problem) {
    table.clear();
    std::string line;
    std::vector<std::string> fields;
    std::size_t number = 0;
    bool zoned = false;
    // One byte more than a line may hold is read, to tell a line that is too long; the
    // rest of such a line is never read, however long.
    while (scanLineHead(in, line, maxStationLineLength + 1)) {
        ++number;
        if (line.size() > maxStationLineLength) {
            problem = "line " + std::to_string(number) + " is longer than " +
                      std::to_string(maxStationLineLength) + " characters";
            return false;
        }
        // A copy checked out or unzipped with Windows line ends reads the same.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (number == 1) {
            zoned = line == "id,name,latitude,longitude,utc_offset";
            if (line != "id,name,latitude,longitude" && !zoned) {
                problem = "line 1 is not \"id,name,latitude,longitude\"";
                return false;
            }
            continue;
        }
        StationPlace place;
        if (!splitFields(line, fields) || fields.size() != (zoned ? 5u : 4u) || fields[0].empty() ||
            !readDecimal(fields[2], place.latitude) || !readDecimal(fields[3], place.longitude) ||
            (zoned && !readUtcOffset(fields[4], place.utcOffset))) {
            problem = "line " + std::to_string(number) + " is not a station";
            return false;
        }
        if (place.latitude < -90.0 || place.latitude > 90.0) {
            problem = "line " + std::to_string(number) + ": the latitude " + fields[2] +
                      " lies outside -90 to 90";
            return false;
        }
        if (place.longitude < -180.0 || place.longitude > 180.0) {
            problem = "line " + std::to_string(number) + ": the longitude " + fields[3] +
                      " lies outside -180 to 180";
            return false;
        }
        if (!isStationId(fields[0])) {
            problem = "line " + std::to_string(number) + ": the id \"" + fields[0] +
                      "\" is not a station id (four letters or digits)";
            return false;
        }
        place.id = fields[0];
        place.name = fields[1];
        table.push_back(std::move(place));
    }
    if (number == 0) {
        problem = "it is empty";
        return false;
    }
    return true;
}

const StationPlace* findStation(std::span<const StationPlace> table, std::string_view id) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [id](const StationPlace& place) { return place.id == id; });
    return found == table.end() ? nullptr : &*found;
}

std::vector<std::filesystem::path> stationTablePlaces(const std::filesystem::path& program,
                                                      std::string_view dataFolder) {
    return installedDataPlaces(program, dataFolder, stationTableName);
}
