#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_file.h"

// The table of observing stations that --city weighs by distance: id, name, latitude and
// longitude in decimal degrees, north and east positive, read from stations.csv.

/// The table's file name, beside the program or in share/wxguide/.
inline constexpr std::string_view stationTableName = "stations.csv";

/// The longest line of the table (its longest station line is a seventh of this).
inline constexpr std::size_t maxStationLineLength = 1024;

struct StationPlace {
    std::string id;
    std::string name;
    double latitude = 0.0;
    double longitude = 0.0;
    std::optional<int> utcOffset{};  // hours of local standard time from UTC, when the table has it
};

/// A decimal number as a forecaster types it: an optional sign, then digits with at most
/// one point ("44.03", "-97.22", ".5"). No exponent, no blanks, nothing after it.
bool readDecimal(std::string_view text, double& value);

/// True when `text` is a station id as bulletins and `--stations` write it: four letters or
/// digits, nothing else (an id names files, so a point or a slash never stands in one).
bool isStationId(std::string_view text);

/// Reads the table: the line "id,name,latitude,longitude", then one station a line, the
/// name quoted when it holds a comma, latitude -90 to 90, longitude -180 to 180. A table
/// whose first line ends ",utc_offset" has a fifth field: whole hours -12 to 14 of local
/// standard time from UTC, or empty where the zone is not known. False,
/// with the line named in `problem`, when a line is no station or is longer than
/// maxStationLineLength.
bool readStationTable(ScanFile& in, std::vector<StationPlace>& table, std::string& problem);

/// The station with this id, or nullptr.
const StationPlace* findStation(std::span<const StationPlace> table, std::string_view id);

/// Where the table may be, in the order to try: only `dataFolder` when it is given (the
/// WXGUIDE_DATA folder); else the program's own folder, as in the Windows zip and the build
/// tree, then ../share/wxguide/ from it, as installed.
std::vector<std::filesystem::path> stationTablePlaces(const std::filesystem::path& program,
                                                      std::string_view dataFolder);
