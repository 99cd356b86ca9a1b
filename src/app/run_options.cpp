#include "app/run_options.h"

#include <optional>
#include <vector>

#include "app/command_table.h"
#include "app/eta_ratio.h"
#include "app/menu_options.h"

bool readRunRequest(std::span<const char* const> arguments, RunRequest& request,
                    std::string& fault) {
    std::optional<std::string> ratioWord;
    std::vector<std::string> words;
    const auto take = [&](const CommandWord& word, std::string& wordFault) {
        if (word.option == nullptr) {
            words.push_back(word.text);
        } else if (word.option->name == "--quiet") {
            request.quiet = true;
        } else if (word.option->name == "--plot") {
            request.sideFiles.plot = true;
        } else if (word.option->name == "--csv") {
            request.sideFiles.csv = true;
        } else if (ratioWord) {
            wordFault = "--ratio is given twice";
            return false;
        } else {
            ratioWord = word.text;
        }
        return true;
    };
    if (!readCommandWords(*findCommand("run"), arguments, take, fault)) {
        return false;
    }
    if (words.size() != 2) {
        fault = "needs an option from 1 to 6 and one data file";
        return false;
    }
    const std::string& option = words[0];
    const MenuOption* run = findMenuOption(option);
    if (run == nullptr) {
        fault = "the option must be a run from 1 to 6, not " + option;
        return false;
    }
    request.option = run->number;
    request.dataName = words[1];
    if (request.option != 1) {
        if (ratioWord) {
            fault = "--ratio is for option 1 only";
            return false;
        }
        return true;
    }
    if (!ratioWord) {
        fault = "option 1 needs --ratio R, the ETA weight from 0 to 1 (such as 0.6)";
        return false;
    }
    double etaRatio = 0;
    if (readEtaRatio(*ratioWord, etaRatio) != RatioWord::ratio) {
        fault = "--ratio takes a number from 0 to 1 (such as 0.6), not " + *ratioWord;
        return false;
    }
    request.etaRatio = etaRatio;
    return true;
}
