#include "app/run_options.h"

#include <optional>
#include <vector>

#include "app/menu_options.h"
#include "blend/station_blend.h"
#include "io/option_word.h"

bool readRunRequest(std::span<const char* const> arguments, RunRequest& request,
                    std::string& fault) {
    std::optional<std::string> ratioWord;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string word = arguments[i];
        const OptionWord option = splitOptionWord(word);
        if (option.name == "--ratio") {
            if (ratioWord) {
                fault = "--ratio is given twice";
                return false;
            }
            if (!option.value && i + 1 == arguments.size()) {
                fault = "--ratio needs a value";
                return false;
            }
            ratioWord = option.value ? std::string(*option.value) : arguments[++i];
        } else if (option.name == "--quiet" || option.name == "-q") {
            if (option.value) {
                fault = "--quiet takes no value";
                return false;
            }
            request.quiet = true;
        } else if (word.size() > 1 && word[0] == '-') {
            const std::string misplaced = misplacedOption(option.name);
            fault = misplaced.empty() ? "unknown option: " + std::string(option.name) : misplaced;
            return false;
        } else {
            words.push_back(word);
        }
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
