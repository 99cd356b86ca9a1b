#include "export/run_description.h"

#include "export/csv_table.h"
#include "io/data_file.h"

namespace {

constexpr const char* runNames[] = {"",
                                    "Run 1200 Model",
                                    "Run Long GFS Model",
                                    "Run Short GFS Model",
                                    "Run Long ETA Model",
                                    "Run Long AVN Model",
                                    "Run Severe Weather Model"};

RunDescription tableRun(int option, const std::string& dataName, const std::string& heading,
                        const TableTitle& title) {
    RunDescription run;
    run.option = option;
    run.runName = runNames[option];
    run.dataName = dataName;
    run.heading = heading;
    run.model = title.model;
    run.place = title.place;
    run.dateOrRun = title.run.empty() ? runNotGiven : title.run;
    return run;
}

std::string orNotGiven(const std::string& text) {
    return text.empty() ? std::string("not given") : text;
}

}  // namespace

std::string reportSummary(const RunDescription& run) {
    const std::string report = reportFileName(run.dataName) + ": ";
    if (run.option == 1) {
        return report + "model MOS guidance, place " + run.stations + ", run 1200 UTC " +
               run.dateOrRun;
    }
    // The run itself already says "run not given" when the title names none.
    return report + "model " + orNotGiven(run.model) + ", place " + orNotGiven(run.place) + ", " +
           (run.dateOrRun == runNotGiven ? run.dateOrRun : "run " + run.dateOrRun);
}

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
    return tableRun(option, records.dataName, records.heading, records.title);
}

RunDescription describeRun(const SevereWeatherRecords& records) {
    return tableRun(6, records.dataName, records.heading, records.title);
}
