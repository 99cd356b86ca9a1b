#pragma once

#include <string>

#include "blend/station_blend.h"
#include "tables/model_table.h"
#include "tables/severe_weather.h"

// What a picture's title and every row of a spreadsheet say about the run it comes from.

struct RunDescription {
    int option = 0;
    std::string runName;    // as the menu names the run
    std::string dataName;   // the data file
    std::string dateOrRun;  // the bulletins' date, or the model run the file names
    std::string heading;    // a model output file's first line; empty for bulletins
    std::string model;      // the model its title names; empty when it names none
    std::string place;      // the place its title names; empty when it names none
    std::string stations;   // the station set, ids parted by blanks; empty for one model
    std::string weights;    // their weights in the same order
    std::string ratio;      // the ETA weight; empty but for option 1
};

/// What a model output file whose title names no run says in its place.
inline constexpr const char* runNotGiven = "run not given";

/// The one line that says what a written report holds, as `wxguide run` tells it: the
/// report's name, then the model, place and run of its data ("gfs.out: model GFS, place
/// KDSM, run 00Z 11 MAR 2021"); what the title does not name is "not given".
std::string reportSummary(const RunDescription& run);

RunDescription describeRun(const StationBlendRecords& records);
RunDescription describeRun(int option, const ModelTableRecords& records);
RunDescription describeRun(const SevereWeatherRecords& records);
