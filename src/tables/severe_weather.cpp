#include "tables/severe_weather.h"

#include <iomanip>
#include <iterator>
#include <string>

#include "arith/conversions.h"
#include "io/report_file.h"
#include "scan/scan_number.h"
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
        rows[i].potTemp = kelvinToFahrenheit(rows[i].potTemp);
    }

    ReportFile report(reportFileName(name));
    writeSevereWeatherHeaderLine(report.text);
    for (int i = 0; i < rowsRead; ++i) {
        writeSevereWeatherRowLine(report.text, rows[i]);
    }
    const bool written = finishReport(report, messages);
    tellMissingRows(name, rowsRead, severeWeatherRows, messages);
    if (written && records != nullptr) {
        *records = {true, name, firstLineOf(file), rowsRead, fileRows, std::to_array(rows)};
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

void writeSevereWeatherRowLine(std::ostream& report, const SevereWeatherRow& row) {
    const double values[] = {row.best4LyrLnde, row.liftIndex, row.cnvInhib, row.cnvAvbl,
                             row.potTemp,      row.kntc900,   row.kntc500,  row.kntc250,
                             row.latHeat,      row.sansHeat};
    report << std::setiosflags(std::ios::left) << std::setw(severeWeatherColumns[0].width)
           << row.hour;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        report << std::setw(severeWeatherColumns[i + 1].width) << values[i];
    }
    report << std::endl;
}
