#include "tables/severe_weather.h"

#include <iomanip>
#include <iterator>
#include <string>
#include <vector>

#include "arith/conversions.h"
#include "io/report_file.h"
#include "scan/scan_number.h"
#include "tables/missing_values.h"
#include "tables/table_file.h"

namespace {

// Headings and rows share these widths, so the columns always line up.
constexpr TableColumn severeWeatherColumns[] = {
    {"HR", 5},          {"BEST 4LYR LNDE", 16}, {"LIFT INDEX", 12}, {"CNV INHIB", 13},
    {"CNV AVBL", 13},   {"POT TEMP", 13},       {"900MB KNTC", 12}, {"500MB KNTC", 12},
    {"250MB KNTC", 14}, {"LAT HEAT", 11},       {"SANS HEAT", 12},
};
static_assert(std::size(severeWeatherColumns) == 11, "the hour and ten values");

// The ten numbers of a row in the order the file holds them.
constexpr double SevereWeatherRow::*severeWeatherNumbers[] = {
    &SevereWeatherRow::best4LyrLnde, &SevereWeatherRow::liftIndex, &SevereWeatherRow::cnvInhib,
    &SevereWeatherRow::cnvAvbl,      &SevereWeatherRow::potTemp,   &SevereWeatherRow::kntc900,
    &SevereWeatherRow::kntc500,      &SevereWeatherRow::kntc250,   &SevereWeatherRow::latHeat,
    &SevereWeatherRow::sansHeat};

/// Kelvin to degrees Fahrenheit; the bulletins' own offset is 273.2, not 273.15.
double kelvinToFahrenheit(double kelvin) {
    return celsiusToFahrenheit(kelvin - 273.2);
}

// The report's headings of the columns that hold a missing value in any of the rows.
std::vector<std::string> columnsWithMissingValues(const SevereWeatherRow fileRows[], int rowCount) {
    std::vector<std::string> headings;
    for (std::size_t field = 0; field < std::size(severeWeatherNumbers); ++field) {
        for (int i = 0; i < rowCount; ++i) {
            if (isMissing(fileRows[i].*severeWeatherNumbers[field])) {
                headings.emplace_back(severeWeatherColumns[field + 1].heading);
                break;
            }
        }
    }
    return headings;
}

}  // namespace

RunOutcome makeSevereWeatherTable(const DataFile& file, std::ostream& messages,
                                  SevereWeatherRecords* records) {
    ScanFile data;
    if (!startTableFile(file, TableKind::severeWeather, data, messages)) {
        return RunOutcome::noReport;
    }
    const std::string& name = file.name;
    SevereWeatherRow rows[severeWeatherRows]{};
    int rowsRead = 0;
    while (rowsRead < severeWeatherRows && readSevereWeatherRow(data, rows[rowsRead])) {
        ++rowsRead;
    }
    closeScanFile(data);
    if (tellNoRows(name, rowsRead, messages)) {
        return RunOutcome::noReport;
    }
    const std::array<SevereWeatherRow, severeWeatherRows> fileRows = std::to_array(rows);

    for (int i = 0; i < rowsRead; ++i) {
        if (!isMissing(rows[i].potTemp)) {
            rows[i].potTemp = kelvinToFahrenheit(rows[i].potTemp);
        }
    }

    ReportFile report(reportFileName(name));
    writeSevereWeatherHeaderLine(report.text);
    for (int i = 0; i < rowsRead; ++i) {
        writeSevereWeatherRowLine(report.text, fileRows[static_cast<std::size_t>(i)], rows[i]);
    }
    const bool written = finishReport(report, messages);
    if (written) {
        tellMissingValues(name, columnsWithMissingValues(fileRows.data(), rowsRead), messages);
    }
    tellMissingRows(name, rowsRead, severeWeatherRows, messages);
    if (written && records != nullptr) {
        *records = {true,     name,     firstLineOf(file),  readTableTitle(file),
                    rowsRead, fileRows, std::to_array(rows)};
    }
    return written ? RunOutcome::reportWritten : RunOutcome::reportLost;
}

bool readSevereWeatherRow(ScanFile& in, SevereWeatherRow& row) {
    // The markers around the hour are taken whatever they are, a digit included.
    char marker = ' ';
    scanChar(in, marker);
    scanInteger(in, row.hour);
    scanChar(in, marker);
    for (double SevereWeatherRow::*field : severeWeatherNumbers) {
        scanDouble(in, row.*field);
    }
    return !in.failed;
}

void writeSevereWeatherHeaderLine(std::ostream& report) {
    writeHeadingLine(report, severeWeatherColumns);
}

void writeSevereWeatherRowLine(std::ostream& report, const SevereWeatherRow& fileRow,
                               const SevereWeatherRow& row) {
    report << std::setiosflags(std::ios::left) << std::setw(severeWeatherColumns[0].width)
           << row.hour;
    std::size_t column = 1;
    for (double SevereWeatherRow::*field : severeWeatherNumbers) {
        writeTableValue(report, severeWeatherColumns[column++].width, row.*field,
                        isMissing(fileRow.*field));
    }
    report << std::endl;
}
