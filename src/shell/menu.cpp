#include "shell/menu.h"

#include <iostream>
#include <string>

#include "blend/station_blend.h"
#include "shell/platform.h"
#include "shell/typed_word.h"
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

// Options are whole words: "07", "1." and "12" are no options.
void runOption(const std::string& option) {
    if (option == "1") {
        runStationBlend();
    } else if (option == "2") {
        runModelTable(48);
    } else if (option == "3") {
        runModelTable(29);
    } else if (option == "4") {
        runModelTable(29);
    } else if (option == "5") {
        runModelTable(15);
    } else if (option == "6") {
        runSevereWeather();
    } else {
        std::cout << "Illegal option was entered, try again." << std::endl;
    }
}

}  // namespace

int runMainMenu() {
    std::string option;
    writeMenu();
    // The end of input quits like "7": a failed read must never repeat a run.
    while (readTypedWord(std::cin, option) && option != "7") {
        std::cout << option << std::endl;
        clearConsole();
        runOption(option);
        pauseConsole();
        clearConsole();
        writeMenu();
    }
    pauseConsole();
    return 0;
}
