#pragma once

#include <array>
#include <ostream>
#include <string>

#include "io/data_file.h"
#include "io/report_file.h"
#include "scan/scan_file.h"
#include "tables/table_title.h"

/// One forecast hour of a model column file, in the file's units until the run converts
/// it: millibars, degrees Celsius, millimetres and knots become inches of mercury,
/// degrees Fahrenheit, inches and miles per hour.
struct ModelRow {
    int hour;
    double pressure;
    double temp2m;
    double temp850;
    double temp700;
    double temp500;
    double thickness;
    double humidity;
    double precip;
    double cloudCover;
    double windDir;
    double windSpeed;
};

/// The longest model run, the long GFS, has this many forecast hours.
inline constexpr int maxModelRows = 48;

/// What a model table run worked out, for what is written beside its report; filled only
/// once the report is written.
struct ModelTableRecords {
    bool reportWritten = false;
    std::string dataName;
    std::string heading;                            // the data file's first line
    TableTitle title;                               // the model, place and run its title lines name
    int rowCount = 0;                               // the forecast hours read
    std::array<ModelRow, maxModelRows> fileRows{};  // as read, in the file's units
    std::array<ModelRow, maxModelRows> rows{};      // in the report's units
    std::array<double, maxModelRows> adjustment{};  // Fahrenheit degrees
    std::array<double, maxModelRows> upperBand{};
    std::array<double, maxModelRows> lowerBand{};
};

/// Options 2 to 5 on the opened model column file `file`: reads `rowCount` forecast-hour
/// rows (1 to 48) and writes them, converted, with the temperature adjustment band, to its
/// report. Messages go to `messages`, the values to `records` when given.
RunOutcome makeModelTable(const DataFile& file, int rowCount, std::ostream& messages,
                          ModelTableRecords* records = nullptr);

/// For the first `rowCount` rows, with the wind speed in miles per hour and the
/// temperatures in degrees Celsius: the adjustment and the band around `temp2m`, in Celsius.
/// A row lacking one of the four values the band is made from gets -9999 in all three.
void computeAdjustmentBand(const ModelRow rows[], double adjustment[], double upperBand[],
                           double lowerBand[], int rowCount);

/// Reads one row: a marker character, the hour, a marker character and eleven numbers.
/// Returns false when any of the fourteen items could not be read.
bool readModelRow(ScanFile& in, ModelRow& row);

/// Writes the report's column headings as one line.
void writeModelHeaderLine(std::ostream& report);

/// True when none of the four values the band is made from (2 m and 850 mb temperatures,
/// humidity, wind speed) is missing in `row`.
bool bandKnown(const ModelRow& row);

/// Writes one converted row `row`, with its adjustment and band in Fahrenheit, as one line;
/// M stands where `fileRow`, the same row as read, has a missing value, and in the
/// adjustment and band when one of the values they are made from is missing.
void writeModelRowLine(std::ostream& report, const ModelRow& fileRow, const ModelRow& row,
                       double adjustment, double upperBand, double lowerBand);
