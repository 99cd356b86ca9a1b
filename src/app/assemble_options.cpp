#include "app/assemble_options.h"

#include <algorithm>

#include "io/option_word.h"

bool readAssembleRequest(std::span<const char* const> arguments, AssembleRequest& request,
                         std::string& fault) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string word = arguments[i];
        const OptionWord option = splitOptionWord(word);
        const bool takesValue = option.name == "--date" || option.name == "--output";
        if (optionsEnded || word == "-" || !word.starts_with("-")) {
            request.products.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if ((option.name == "--quiet" || option.name == "-q") && !option.value) {
            request.quiet = true;
        } else if (!takesValue) {
            const std::string misplaced =
                option.name == "--quiet" ? "--quiet takes no value" : misplacedOption(option.name);
            fault = misplaced.empty() ? "unknown option: " + std::string(option.name) : misplaced;
            return false;
        } else if (!option.value && i + 1 == arguments.size()) {
            fault = std::string(option.name) + " needs a value";
            return false;
        } else {
            const std::string value = option.value ? std::string(*option.value) : arguments[++i];
            if (option.name == "--date") {
                CalendarDate date;
                if (request.date || !readCalendarDate(value, date)) {
                    fault = "--date takes one date written as 12/08/2026";
                    return false;
                }
                request.date = date;
            } else {
                if (request.output || value.empty()) {
                    fault = "--output takes one file name";
                    return false;
                }
                request.output = value;
            }
        }
    }
    if (request.products.empty()) {
        fault = "no product given";
        return false;
    }
    if (std::count(request.products.begin(), request.products.end(), "-") > 1) {
        fault = "- (standard input) is given twice";
        return false;
    }
    return true;
}
