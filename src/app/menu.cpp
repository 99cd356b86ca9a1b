#include "app/menu.h"

#include <iostream>
#include <string>

#include "app/menu_dialogue.h"
#include "app/menu_options.h"
#include "io/platform.h"
#include "io/typed_word.h"

namespace {

void writeMenu(std::ostream& console) {
    console << "Please enter an option!" << std::endl;
    for (const MenuOption& option : menuOptions) {
        console << option.number << ") " << option.title << std::endl;
    }
    console << quitOption << ") " << quitTitle << std::endl;
}

}  // namespace

bool runMenuChoice(const std::string& word, std::istream& typed, std::ostream& console,
                   const StationSet& set, const SideFiles& sideFiles) {
    const MenuOption* option = findMenuOption(word);
    if (option == nullptr) {
        console << "Illegal option was entered, try again." << std::endl;
        return true;
    }
    DataFile data;
    if (!askDataFile(data, typed, console)) {
        return true;
    }
    const EtaRatioSource etaRatio = [&] { return askEtaRatio(typed, console); };
    return runMenuOption(*option, data, set, etaRatio, console, console, sideFiles) !=
           RunOutcome::reportLost;
}

int runMainMenu(const StationSet& set, const SideFiles& sideFiles) {
    std::string word;
    bool everyReportWritten = true;
    writeMenu(std::cout);
    // The end of input quits like "7": a failed read must never repeat a run.
    while (readTypedWord(std::cin, word) && word != std::to_string(quitOption)) {
        std::cout << word << std::endl;
        clearConsole();
        everyReportWritten =
            runMenuChoice(word, std::cin, std::cout, set, sideFiles) && everyReportWritten;
        pauseConsole();
        clearConsole();
        writeMenu(std::cout);
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
