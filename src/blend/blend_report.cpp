#include "blend/blend_report.h"

#include <iomanip>
#include <string>

namespace {

void writeDailyHeader(std::ostream& out) {
    out << std::setiosflags(std::ios::left) << std::setw(7) << "Day" << std::setw(12) << "LowTemp"
        << std::setw(12) << "HighTemp" << std::setw(12) << "LowDPT" << std::setw(12) << "HighDPT"
        << std::setw(12) << "LowProbPrec"
        << "HighProbPrec" << std::endl
        << std::endl;
}

// Days without a low probability show a blank cell. The report pads the last cell of
// the blended days to the full width; the console never pads it.
void writeDailyRow(std::ostream& out, int day, const DailyForecastRow& row, bool padHighProbPrec) {
    out << std::setiosflags(std::ios::left) << std::setw(7) << std::to_string(day) << std::setw(12)
        << row.lowTemp << std::setw(12) << row.highTemp << std::setw(12) << row.lowDpt
        << std::setw(12) << row.highDpt << std::setw(12);
    if (row.lowProbPrec) {
        out << *row.lowProbPrec;
    } else {
        out << " ";
    }
    if (padHighProbPrec) {
        out << std::setw(12);
    }
    out << row.highProbPrec << std::endl;
}

void writeCloudWindHeader(std::ostream& out) {
    out << std::setiosflags(std::ios::left) << std::setw(6) << "HR" << std::setw(8) << "CLD"
        << std::setw(10) << "WDR" << std::setw(10) << "WSP (MPH)" << std::endl;
}

// From the first of these rows on the report writes every number with two decimals.
void writeCloudWindRow(std::ostream& out, const CloudWindRow& row) {
    out << std::setiosflags(std::ios::fixed | std::ios::left) << std::setprecision(2)
        << std::setw(6) << row.hour << std::setw(8) << row.cloudCover << std::setw(10);
    if (row.windDirection) {
        out << *row.windDirection;
    } else {
        out << "";
    }
    out << std::setw(10) << row.windSpeedMph << std::endl;
}

}  // namespace

void writeConsoleDailyTable(std::ostream& out, const DailyForecastTable& daily) {
    writeDailyHeader(out);
    for (std::size_t day = 0; day < daily.size(); ++day) {
        writeDailyRow(out, static_cast<int>(day + 1), daily[day], false);
    }
}

void writeBlendReport(std::ostream& report, const DailyForecastTable& daily,
                      const CloudWindTable& cloudWind) {
    report << std::setiosflags(std::ios::left) << "1200 Rori za Dazezur Forecast Data" << std::endl
           << std::endl;
    writeDailyHeader(report);
    for (std::size_t day = 0; day < daily.size(); ++day) {
        const DailyForecastRow& row = daily[day];
        writeDailyRow(report, static_cast<int>(day + 1), row, row.lowProbPrec.has_value());
    }
    report << std::endl;
    report << "Cloud cover, wind speed, and wind direction data" << std::endl << std::endl;
    writeCloudWindHeader(report);
    for (std::size_t row = 0; row < cloudWind.size(); ++row) {
        if (row == shortRangeHours) {
            report << std::endl;
        }
        writeCloudWindRow(report, cloudWind[row]);
    }
}
