#include "app/menu_options.h"

#include <iterator>
#include <string>

#include "blend/station_blend.h"
#include "tables/model_table.h"
#include "tables/severe_weather.h"

static_assert(std::size(menuOptions) + 1 == quitOption, "Quit follows the runs");

namespace {

RunOutcome withSideFiles(RunOutcome outcome, bool sideFilesWritten) {
    return outcome == RunOutcome::reportWritten && !sideFilesWritten ? RunOutcome::reportLost
                                                                     : outcome;
}

// Where a run's records go: the files beside the report and the description asked for.
struct RecordsWanted {
    const SideFiles& sideFiles;
    RunDescription* described;
};

template <typename Records>
void describe(const RecordsWanted& wanted, const Records& records) {
    if (wanted.described != nullptr && records.reportWritten) {
        *wanted.described = describeRun(records);
    }
}

RunOutcome runBlendOption(const DataFile& data, const StationSet& set,
                          const EtaRatioSource& etaRatio, std::ostream& out, std::ostream& messages,
                          const RecordsWanted& wanted) {
    StationBulletins bulletins;
    if (!readStationBulletins(data, set, bulletins, messages)) {
        return RunOutcome::noReport;
    }
    // The weight is asked only once the bulletins are known to be whole.
    const std::optional<double> ratio = etaRatio();
    if (!ratio) {
        return RunOutcome::noReport;
    }
    StationBlendRecords records;
    const RunOutcome outcome =
        writeStationBlend(bulletins, set, *ratio, data.name, out, messages, &records);
    describe(wanted, records);
    return withSideFiles(outcome, writeBlendSideFiles(wanted.sideFiles, records, messages));
}

}  // namespace

const MenuOption* findMenuOption(int number) {
    for (const MenuOption& option : menuOptions) {
        if (option.number == number) {
            return &option;
        }
    }
    return nullptr;
}

const MenuOption* findMenuOption(std::string_view word) {
    for (const MenuOption& option : menuOptions) {
        if (word == std::to_string(option.number)) {
            return &option;
        }
    }
    return nullptr;
}

RunOutcome runMenuOption(const MenuOption& option, const DataFile& data, const StationSet& set,
                         const EtaRatioSource& etaRatio, std::ostream& out, std::ostream& messages,
                         const SideFiles& sideFiles, RunDescription* described) {
    const RecordsWanted wanted{sideFiles, described};
    switch (option.run) {
        case OptionRun::stationBlend:
            return runBlendOption(data, set, etaRatio, out, messages, wanted);
        case OptionRun::modelTable: {
            ModelTableRecords records;
            const RunOutcome outcome = makeModelTable(data, option.rowCount, messages, &records);
            if (described != nullptr && records.reportWritten) {
                *described = describeRun(option.number, records);
            }
            return withSideFiles(outcome,
                                 writeModelSideFiles(sideFiles, option.number, records, messages));
        }
        case OptionRun::severeWeather: {
            SevereWeatherRecords records;
            const RunOutcome outcome = makeSevereWeatherTable(data, messages, &records);
            describe(wanted, records);
            return withSideFiles(outcome, writeSevereSideFiles(sideFiles, records, messages));
        }
    }
    return RunOutcome::noReport;
}
