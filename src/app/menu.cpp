#include "app/menu.h"

#include <iostream>
#include <string>

#include "blend/station_blend.h"
#include "io/platform.h"
#include "io/typed_word.h"
#include "tables/model_table.h"
#include "tables/severe_weather.h"

namespace {

void writeMenu() {
    std::cout << "Please enter an option!" << std::endl;
    std::cout << "1) Run 1200 Model" << std::endl;
    std::cout << "2) Run Long GFS Model" << std::endl;
    std::cout << "3) Run Short GFS Model" << std::endl;
    std::cout << "4) Run Long ETA Model" << std::endl;
    std::cout << "5) Run Long AVN Model" << std::endl;
    std::cout << "6) Run Severe Weather Model" << std::endl;
    std::cout << "7) Quit" << std::endl;
}

// Options are whole words: "07", "1." and "12" are no options. False only when the
// run's report could not be written.
bool runOption(const std::string& option, const StationSet& set, const SideFiles& sideFiles) {
    if (option == "1") {
        StationBlendRecords records;
        const bool written = runStationBlend(set, &records);
        return writeBlendSideFiles(sideFiles, records, std::cout) && written;
    }
    if (option.size() == 1 && option[0] >= '2' && option[0] <= '5') {
        constexpr int rowCounts[] = {48, 29, 29, 15};
        ModelTableRecords records;
        const bool written = runModelTable(rowCounts[option[0] - '2'], &records);
        return writeModelSideFiles(sideFiles, option[0] - '0', records, std::cout) && written;
    }
    if (option == "6") {
        SevereWeatherRecords records;
        const bool written = runSevereWeather(&records);
        return writeSevereSideFiles(sideFiles, records, std::cout) && written;
    }
    std::cout << "Illegal option was entered, try again." << std::endl;
    return true;
}

}  // namespace

int runMainMenu(const StationSet& set, const SideFiles& sideFiles) {
    std::string option;
    bool everyReportWritten = true;
    writeMenu();
    // The end of input quits like "7": a failed read must never repeat a run.
    while (readTypedWord(std::cin, option) && option != "7") {
        std::cout << option << std::endl;
        clearConsole();
        everyReportWritten = runOption(option, set, sideFiles) && everyReportWritten;
        pauseConsole();
        clearConsole();
        writeMenu();
    }
    pauseConsole();
    // A report lost or a console that took nothing is no success.
    const bool consoleWritten = static_cast<bool>(std::cout.flush());
    if (!consoleWritten) {
        std::cerr << "The menu and the runs' messages could not be written to standard output."
                  << std::endl;
    }
    return everyReportWritten && consoleWritten ? 0 : 1;
}
