#include "tables/model_table.h"

#include <algorithm>
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

// A missing value stays the marker it was read as.
void convertUnlessMissing(double& value, double (*convert)(double)) {
    if (!isMissing(value)) {
        value = convert(value);
    }
}

/// Converts every row, and the adjustment band computed in Celsius, to the report's units.
void convertToForecastUnits(ModelRow rows[], double adjustment[], double upperBand[],
                            double lowerBand[], int rowCount) {
    for (int i = 0; i < rowCount; ++i) {
        ModelRow& row = rows[i];
        // Whether the band was made is read before the temperatures change.
        const bool band = bandKnown(row);
        convertUnlessMissing(row.pressure, millibarsToInches);
        convertUnlessMissing(row.temp2m, celsiusToFahrenheit);
        convertUnlessMissing(row.temp850, celsiusToFahrenheit);
        convertUnlessMissing(row.temp700, celsiusToFahrenheit);
        convertUnlessMissing(row.temp500, celsiusToFahrenheit);
        convertUnlessMissing(row.precip, millimetersToInches);
        if (band) {
            // A difference of temperatures: scaled, with no 32 degree offset.
            adjustment[i] = adjustment[i] * 1.8;
            upperBand[i] = celsiusToFahrenheit(upperBand[i]);
            lowerBand[i] = celsiusToFahrenheit(lowerBand[i]);
        }
    }
}

// The report's headings of the columns that hold a missing value in any of the rows.
std::vector<std::string> columnsWithMissingValues(const ModelRow fileRows[], int rowCount) {
    std::vector<std::string> headings;
    for (std::size_t field = 0; field < std::size(modelRowNumbers); ++field) {
        for (int i = 0; i < rowCount; ++i) {
            if (isMissing(fileRows[i].*modelRowNumbers[field])) {
                headings.emplace_back(modelColumns[field + 1].heading);
                break;
            }
        }
    }
    for (int i = 0; i < rowCount; ++i) {
        if (!bandKnown(fileRows[i])) {
            for (std::size_t column = std::size(modelColumns) - 3; column < std::size(modelColumns);
                 ++column) {
                headings.emplace_back(modelColumns[column].heading);
            }
            break;
        }
    }
    return headings;
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
        convertUnlessMissing(rows[i].windSpeed, knotsToMph);
    }
    double adjustment[maxModelRows]{};
    double upperBand[maxModelRows]{};
    double lowerBand[maxModelRows]{};
    computeAdjustmentBand(rows, adjustment, upperBand, lowerBand, rowsRead);
    convertToForecastUnits(rows, adjustment, upperBand, lowerBand, rowsRead);

    ReportFile report(reportFileName(name));
    writeModelHeaderLine(report.text);
    for (int i = 0; i < rowsRead; ++i) {
        writeModelRowLine(report.text, fileRows[static_cast<std::size_t>(i)], rows[i],
                          adjustment[i], upperBand[i], lowerBand[i]);
    }
    const bool written = finishReport(report, messages);
    if (written) {
        tellMissingValues(name, columnsWithMissingValues(fileRows.data(), rowsRead), messages);
    }
    tellMissingRows(name, rowsRead, rowsWanted, messages);
    if (written && records != nullptr) {
        *records = {true,
                    name,
                    firstLineOf(file),
                    readTableTitle(file),
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
        if (!bandKnown(row)) {
            adjustment[i] = upperBand[i] = lowerBand[i] = missingValue;
            continue;
        }
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

bool bandKnown(const ModelRow& row) {
    return !isMissing(row.temp2m) && !isMissing(row.temp850) && !isMissing(row.humidity) &&
           !isMissing(row.windSpeed);
}

void writeModelRowLine(std::ostream& report, const ModelRow& fileRow, const ModelRow& row,
                       double adjustment, double upperBand, double lowerBand) {
    report << std::setiosflags(std::ios::left) << std::setw(modelColumns[0].width) << row.hour;
    std::size_t column = 1;
    for (double ModelRow::*field : modelRowNumbers) {
        writeTableValue(report, modelColumns[column++].width, row.*field,
                        isMissing(fileRow.*field));
    }
    const bool band = bandKnown(fileRow);
    for (const double value : {adjustment, upperBand, lowerBand}) {
        writeTableValue(report, modelColumns[column++].width, value, !band);
    }
    report << std::endl;
}
