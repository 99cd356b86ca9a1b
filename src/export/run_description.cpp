#include "export/run_description.h"

#include <sstream>

#include "export/csv_table.h"

namespace {

constexpr const char* runNames[] = {"",
                                    "Run 1200 Model",
                                    "Run Long GFS Model",
                                    "Run Short GFS Model",
                                    "Run Long ETA Model",
                                    "Run Long AVN Model",
                                    "Run Severe Weather Model"};

// A model output file names its run after the word RUN of its first line ("RUN 12Z 14
// MAY 2024"); a file that does not is described by its whole first line.
std::string modelRunOf(const std::string& heading) {
    std::istringstream words(heading);
    std::string word;
    while (words >> word) {
        if (word == "RUN") {
            std::string run;
            while (words >> word) {
                run += (run.empty() ? "" : " ") + word;
            }
            return run;
        }
    }
    return heading;
}

RunDescription tableRun(int option, const std::string& dataName, const std::string& heading) {
    RunDescription run;
    run.option = option;
    run.runName = runNames[option];
    run.dataName = dataName;
    run.heading = heading;
    run.dateOrRun = modelRunOf(heading);
    return run;
}

}  // namespace

RunDescription describeRun(const StationBlendRecords& records) {
    RunDescription run;
    run.option = 1;
    run.runName = runNames[1];
    run.dataName = records.dataName;
    run.dateOrRun = records.date;
    for (std::size_t i = 0; i < records.set.ids.size(); ++i) {
        run.stations += (i == 0 ? "" : " ") + records.set.ids[i];
        run.weights += (i == 0 ? "" : " ") + csvNumber(records.set.weights[i]);
    }
    run.ratio = csvNumber(records.etaRatio);
    return run;
}

RunDescription describeRun(int option, const ModelTableRecords& records) {
    return tableRun(option, records.dataName, records.heading);
}

RunDescription describeRun(const SevereWeatherRecords& records) {
    return tableRun(6, records.dataName, records.heading);
}
