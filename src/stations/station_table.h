#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The table of observing stations that --city weighs by distance: id, name, latitude and
// longitude in decimal degrees, north and east positive, read from stations.csv.

/// The table's file name, in share/wxguide/ or beside the program.
inline constexpr std::string_view stationTableName = "stations.csv";

struct StationPlace {
    std::string id;
    std::string name;
    double latitude = 0.0;
    double longitude = 0.0;
};

/// A decimal number as a forecaster types it: an optional sign, then digits with at most
/// one point ("44.03", "-97.22", ".5"). No exponent, no blanks, nothing after it.
bool readDecimal(std::string_view text, double& value);

/// Reads the table: the line "id,name,latitude,longitude", then one station a line, the
/// name quoted when it holds a comma. False, with the line named in `problem`, when a
/// line is no station.
bool readStationTable(std::istream& in, std::vector<StationPlace>& table, std::string& problem);

/// The station with this id, or nullptr.
const StationPlace* findStation(std::span<const StationPlace> table, std::string_view id);

/// Where the table may be, in the order to try: only `dataFolder` when it is given (the
/// WXGUIDE_DATA folder); else ../share/wxguide/ from the program's folder, as installed,
/// then the program's own folder, as in the Windows zip and the build tree.
std::vector<std::filesystem::path> stationTablePlaces(const std::filesystem::path& program,
                                                      std::string_view dataFolder);
