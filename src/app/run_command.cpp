#include "app/run_command.h"

#include "app/menu_options.h"
#include "app/run_options.h"
#include "io/data_file.h"
#include "io/option_word.h"
#include "io/report_file.h"

int runCommand(std::span<const char* const> arguments, const StationSet& set, std::ostream& out,
               std::ostream& err, const SideFiles& sideFiles) {
    RunRequest request;
    std::string fault;
    if (!readRunRequest(arguments, request, fault)) {
        return writeUsageError(err, "run", fault);
    }
    if (request.quiet) {
        beQuiet(err);
    }
    SideFiles wanted = sideFiles;
    wanted.plot = wanted.plot || request.sideFiles.plot;
    wanted.csv = wanted.csv || request.sideFiles.csv;
    // readRunRequest takes only the table's numbers; nothing runs should that ever change.
    const MenuOption* option = findMenuOption(request.option);
    DataFile data;
    RunDescription described;
    const RunOutcome outcome = option != nullptr && openNamedDataFile(data, request.dataName, err)
                                   ? runMenuOption(
                                         *option, data, set, [&] { return request.etaRatio; }, out,
                                         err, wanted, &described)
                                   : RunOutcome::noReport;
    // The report's bytes are fixed; what it holds is told once it is written.
    if (outcome != RunOutcome::noReport && !described.dataName.empty()) {
        statusLines(err) << reportSummary(described) << "." << std::endl;
    }
    // A table lost on a closed pipe is no success either.
    const bool tableWritten = static_cast<bool>(out.flush());
    if (!tableWritten) {
        err << "The daily table could not be written to standard output." << std::endl;
    }
    return outcome == RunOutcome::reportWritten && tableWritten ? 0 : 1;
}
