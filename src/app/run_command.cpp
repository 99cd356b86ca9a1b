#include "app/run_command.h"

#include <vector>

#include "app/menu_options.h"
#include "blend/station_blend.h"
#include "io/data_file.h"
#include "io/option_word.h"
#include "io/report_file.h"

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
    if (option.size() != 1 || option[0] < '1' || option[0] > '6') {
        fault = "the option must be a run from 1 to 6, not " + option;
        return false;
    }
    request.option = option[0] - '0';
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
    // readRunRequest takes only numbers the table holds; should the two ever part,
    // nothing runs.
    const MenuOption* option = findMenuOption(request.option);
    DataFile data;
    const RunOutcome outcome =
        option != nullptr && openNamedDataFile(data, request.dataName, err)
            ? runMenuOption(
                  *option, data, set, [&] { return request.etaRatio; }, out, err, sideFiles)
            : RunOutcome::noReport;
    // A table lost on a closed pipe is no success either.
    const bool tableWritten = static_cast<bool>(out.flush());
    if (!tableWritten) {
        err << "The daily table could not be written to standard output." << std::endl;
    }
    return outcome == RunOutcome::reportWritten && tableWritten ? 0 : 1;
}
