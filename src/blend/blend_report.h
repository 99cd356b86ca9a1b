#pragma once

#include <array>
#include <optional>
#include <ostream>

/// One day of the city forecast: temperatures and dew points in bulletin units,
/// precipitation probabilities in percent, all unrounded.
struct DailyForecastRow {
    double lowTemp = 0;
    double highTemp = 0;
    double lowDpt = 0;
    double highDpt = 0;
    std::optional<double> lowProbPrec;  // the extended range gives one probability a day
    double highProbPrec = 0;
};

/// Days 1 to 7.
using DailyForecastTable = std::array<DailyForecastRow, 7>;

/// One forecast hour of cloud cover (0 clear to 1 overcast), wind direction as the
/// bulletins give it, and wind speed in miles per hour.
struct CloudWindRow {
    int hour = 0;
    double cloudCover = 0;
    std::optional<double> windDirection;  // the extended range gives no direction
    double windSpeedMph = 0;
};

/// Hours 6 to 60 every 3 hours (19 rows), then 72 to 192 every 12 hours (11 rows).
using CloudWindTable = std::array<CloudWindRow, 30>;
inline constexpr std::size_t shortRangeHours = 19;

/// Writes the daily table as the console shows it: the header, an empty line, seven days.
void writeConsoleDailyTable(std::ostream& out, const DailyForecastTable& daily);

/// Writes the whole report: title, daily table, and cloud and wind table (46 lines).
void writeBlendReport(std::ostream& report, const DailyForecastTable& daily,
                      const CloudWindTable& cloudWind);
