#pragma once

#include <array>
#include <ostream>
#include <string>

#include "io/data_file.h"
#include "io/report_file.h"
#include "scan/scan_file.h"
#include "tables/table_title.h"

/// One forecast hour of a severe weather file; `potTemp` is read in kelvin and holds
/// degrees Fahrenheit once the run has converted it.
struct SevereWeatherRow {
    int hour;
    double best4LyrLnde;
    double liftIndex;
    double cnvInhib;
    double cnvAvbl;
    double potTemp;
    double kntc900;
    double kntc500;
    double kntc250;
    double latHeat;
    double sansHeat;
};

/// A severe weather file holds this many forecast hours; any after them are not read.
inline constexpr int severeWeatherRows = 29;

/// What a severe weather run worked out, for what is written beside its report; filled
/// only once the report is written.
struct SevereWeatherRecords {
    bool reportWritten = false;
    std::string dataName;
    std::string heading;  // the data file's first line
    TableTitle title;     // the model, place and run its title lines name
    int rowCount = 0;     // the forecast hours read
    std::array<SevereWeatherRow, severeWeatherRows> fileRows{};  // as read
    std::array<SevereWeatherRow, severeWeatherRows> rows{};      // as the report shows them
};

/// Option 6 on the opened severe weather file `file`: reads 29 forecast hours of
/// severe-weather parameters and writes them, with the potential temperature in degrees
/// Fahrenheit, to its report. Messages go to `messages`, the values to `records` when given.
RunOutcome makeSevereWeatherTable(const DataFile& file, std::ostream& messages,
                                  SevereWeatherRecords* records = nullptr);

/// Reads one row: a marker character, the hour, a marker character and ten numbers.
/// Returns false when any of the thirteen items could not be read.
bool readSevereWeatherRow(ScanFile& in, SevereWeatherRow& row);

/// Writes the report's column headings as one line.
void writeSevereWeatherHeaderLine(std::ostream& report);

/// Writes one converted row `row` as one line; M stands where `fileRow`, the same row as
/// read, has a missing value.
void writeSevereWeatherRowLine(std::ostream& report, const SevereWeatherRow& fileRow,
                               const SevereWeatherRow& row);
