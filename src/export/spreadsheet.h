#pragma once

#include <ostream>

#include "blend/station_blend.h"
#include "export/run_description.h"
#include "tables/model_table.h"
#include "tables/severe_weather.h"

// The tables of each run as spreadsheet files: a header record, then one record per row of
// the report, the run's description first on every record, the report's values unrounded.

/// Option 1's daily table, day 1 to 7.
void writeBlendDailyCsv(std::ostream& out, const RunDescription& run,
                        const StationBlendRecords& records);

/// Option 1's cloud and wind table, one record per forecast hour.
void writeBlendHourlyCsv(std::ostream& out, const RunDescription& run,
                         const StationBlendRecords& records);

/// Options 2 to 5: every column of the report.
void writeModelCsv(std::ostream& out, const RunDescription& run, const ModelTableRecords& records);

/// Option 6: every column of the report.
void writeSevereCsv(std::ostream& out, const RunDescription& run,
                    const SevereWeatherRecords& records);
