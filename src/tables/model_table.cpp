#include "tables/model_table.h"

#include <algorithm>
#include <iomanip>
#include <iterator>
#include <string>

#include "arith/conversions.h"
#include "io/report_file.h"
#include "scan/scan_number.h"
#include "tables/table_file.h"

namespace {

// Headings and rows share these widths, so the columns always line up.
constexpr TableColumn modelColumns[] = {
    {"HR", 5},          {"Pressure", 11},   {"2m Temp", 12}, {"850MB Temp", 13}, {"700MB Temp", 13},
    {"500MB Temp", 13}, {"Thickness", 12},  {"Hum %", 10},   {"Precip", 14},     {"Cld Cover", 11},
    {"Wind Dir", 12},   {"Wind Speed", 14}, {"Adj", 12},     {"+", 12},          {"-", 12},
};
static_assert(std::size(modelColumns) == 15, "the hour and fourteen values");

// The eleven numbers of a row in the order the file holds them.
constexpr double ModelRow::*modelRowNumbers[] = {
    &ModelRow::pressure,   &ModelRow::temp2m,    &ModelRow::temp850,  &ModelRow::temp700,
    &ModelRow::temp500,    &ModelRow::thickness, &ModelRow::humidity, &ModelRow::precip,
    &ModelRow::cloudCover, &ModelRow::windDir,   &ModelRow::windSpeed};

/// Reads rows until `rowCount` are read or one is incomplete; returns how many were read.
int readModelRows(ScanFile& in, ModelRow rows[], int rowCount) {
    int rowsRead = 0;
    while (rowsRead < rowCount && readModelRow(in, rows[rowsRead])) {
        ++rowsRead;
    }
    return rowsRead;
}

/// Converts every row, and the adjustment band computed in Celsius, to the report's units.
void convertToForecastUnits(ModelRow rows[], double adjustment[], double upperBand[],
                            double lowerBand[], int rowCount) {
    for (int i = 0; i < rowCount; ++i) {
        ModelRow& row = rows[i];
        row.pressure = millibarsToInches(row.pressure);
        row.temp2m = celsiusToFahrenheit(row.temp2m);
        row.temp850 = celsiusToFahrenheit(row.temp850);
        row.temp700 = celsiusToFahrenheit(row.temp700);
        row.temp500 = celsiusToFahrenheit(row.temp500);
        row.precip = millimetersToInches(row.precip);
        // A difference of temperatures: scaled, with no 32 degree offset.
        adjustment[i] = adjustment[i] * 1.8;
        upperBand[i] = celsiusToFahrenheit(upperBand[i]);
        lowerBand[i] = celsiusToFahrenheit(lowerBand[i]);
    }
}

}  // namespace

RunOutcome makeModelTable(const DataFile& file, int rowCount, std::ostream& messages,
                          ModelTableRecords* records) {
    ScanFile data;
    if (!startTableFile(file, TableKind::modelColumn, data, messages)) {
        return RunOutcome::noReport;
    }
    const std::string& name = file.name;
    const int rowsWanted = std::min(rowCount, maxModelRows);
    ModelRow rows[maxModelRows]{};
    const int rowsRead = readModelRows(data, rows, rowsWanted);
    closeScanFile(data);
    if (tellNoRows(name, rowsRead, messages)) {
        return RunOutcome::noReport;
    }
    const std::array<ModelRow, maxModelRows> fileRows = std::to_array(rows);

    // The band takes the wind in miles per hour but the temperatures still in Celsius.
    for (int i = 0; i < rowsRead; ++i) {
        rows[i].windSpeed = knotsToMph(rows[i].windSpeed);
    }
    double adjustment[maxModelRows]{};
    double upperBand[maxModelRows]{};
    double lowerBand[maxModelRows]{};
    computeAdjustmentBand(rows, adjustment, upperBand, lowerBand, rowsRead);
    convertToForecastUnits(rows, adjustment, upperBand, lowerBand, rowsRead);

    ReportFile report(reportFileName(name));
    writeModelHeaderLine(report.text);
    for (int i = 0; i < rowsRead; ++i) {
        writeModelRowLine(report.text, rows[i], adjustment[i], upperBand[i], lowerBand[i]);
    }
    const bool written = finishReport(report, messages);
    tellMissingRows(name, rowsRead, rowsWanted, messages);
    if (written && records != nullptr) {
        *records = {true,
                    name,
                    firstLineOf(file),
                    rowsRead,
                    fileRows,
                    std::to_array(rows),
                    std::to_array(adjustment),
                    std::to_array(upperBand),
                    std::to_array(lowerBand)};
    }
    return written ? RunOutcome::reportWritten : RunOutcome::reportLost;
}

void computeAdjustmentBand(const ModelRow rows[], double adjustment[], double upperBand[],
                           double lowerBand[], int rowCount) {
    for (int i = 0; i < rowCount; ++i) {
        const ModelRow& row = rows[i];
        // Unclamped: strong wind, saturated air or a warmer 850 mb level make a term negative.
        const double windTerm = (30.0 - row.windSpeed) * 0.1;
        const double humidityTerm = (100.0 - row.humidity) * 0.03;
        const double lapseTerm = (row.temp2m - row.temp850) * 0.1;
        adjustment[i] = (windTerm + humidityTerm) + lapseTerm;
        upperBand[i] = row.temp2m + adjustment[i];
        lowerBand[i] = row.temp2m - adjustment[i];
    }
}

bool readModelRow(ScanFile& in, ModelRow& row) {
    // The markers around the hour are taken whatever they are.
    char marker = ' ';
    scanChar(in, marker);
    scanInteger(in, row.hour);
    scanChar(in, marker);
    for (double ModelRow::*field : modelRowNumbers) {
        scanDouble(in, row.*field);
    }
    return !in.failed;
}

void writeModelHeaderLine(std::ostream& report) {
    writeHeadingLine(report, modelColumns);
}

void writeModelRowLine(std::ostream& report, const ModelRow& row, double adjustment,
                       double upperBand, double lowerBand) {
    const double values[] = {row.pressure,  row.temp2m,   row.temp850, row.temp700,    row.temp500,
                             row.thickness, row.humidity, row.precip,  row.cloudCover, row.windDir,
                             row.windSpeed, adjustment,   upperBand,   lowerBand};
    report << std::setiosflags(std::ios::left) << std::setw(modelColumns[0].width) << row.hour;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        report << std::setw(modelColumns[i + 1].width) << values[i];
    }
    report << std::endl;
}
