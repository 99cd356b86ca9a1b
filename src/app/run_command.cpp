#include "app/run_command.h"

#include "app/run_options.h"
#include "blend/station_blend.h"
#include "io/data_file.h"
#include "io/option_word.h"
#include "io/report_file.h"
#include "tables/model_table.h"
#include "tables/severe_weather.h"

namespace {

// How many forecast hours options 2 to 5 read, as the menu runs them.
int modelRowCount(int option) {
    switch (option) {
        case 2:
            return 48;
        case 5:
            return 15;
        default:
            return 29;
    }
}

// A file beside the report that could not be written loses the run as a lost report does.
RunOutcome withSideFiles(RunOutcome outcome, bool sideFilesWritten) {
    return outcome == RunOutcome::reportWritten && !sideFilesWritten ? RunOutcome::reportLost
                                                                     : outcome;
}

RunOutcome runOption(const RunRequest& request, const StationSet& set, std::ostream& out,
                     std::ostream& err, const SideFiles& sideFiles) {
    DataFile data;
    if (!openNamedDataFile(data, request.dataName, err)) {
        return RunOutcome::noReport;
    }
    if (request.option == 1) {
        StationBulletins bulletins;
        if (!readStationBulletins(data, set, bulletins, err)) {
            return RunOutcome::noReport;
        }
        StationBlendRecords records;
        const RunOutcome outcome =
            writeStationBlend(bulletins, set, *request.etaRatio, data.name, out, err, &records);
        return withSideFiles(outcome, writeBlendSideFiles(sideFiles, records, err));
    }
    if (request.option == 6) {
        SevereWeatherRecords records;
        const RunOutcome outcome = makeSevereWeatherTable(data, err, &records);
        return withSideFiles(outcome, writeSevereSideFiles(sideFiles, records, err));
    }
    ModelTableRecords records;
    const RunOutcome outcome = makeModelTable(data, modelRowCount(request.option), err, &records);
    return withSideFiles(outcome, writeModelSideFiles(sideFiles, request.option, records, err));
}

}  // namespace

int runCommand(std::span<const char* const> arguments, const StationSet& set, std::ostream& out,
               std::ostream& err, const SideFiles& sideFiles) {
    RunRequest request;
    std::string fault;
    if (!readRunRequest(arguments, request, fault)) {
        err << "wxguide run: " << fault << "\nTry 'wxguide --help'.\n";
        return 2;
    }
    if (request.quiet) {
        beQuiet(err);
    }
    const RunOutcome outcome = runOption(request, set, out, err, sideFiles);
    // A table lost on a closed pipe is no success either.
    const bool tableWritten = static_cast<bool>(out.flush());
    if (!tableWritten) {
        err << "The daily table could not be written to standard output." << std::endl;
    }
    return outcome == RunOutcome::reportWritten && tableWritten ? 0 : 1;
}
