#include "app/assemble_options.h"

#include <algorithm>

#include "app/command_table.h"

namespace {

bool takeAssembleWord(const CommandWord& word, AssembleRequest& request, std::string& fault) {
    if (word.option == nullptr) {
        request.products.push_back(word.text);
    } else if (word.option->name == "--quiet") {
        request.quiet = true;
    } else if (word.option->name == "--date") {
        CalendarDate date;
        if (request.date || !readCalendarDate(word.text, date)) {
            fault = "--date takes one date written as 12/08/2026";
            return false;
        }
        request.date = date;
    } else {
        if (request.output || word.text.empty()) {
            fault = "--output takes one file name";
            return false;
        }
        request.output = word.text;
    }
    return true;
}

}  // namespace

bool readAssembleRequest(std::span<const char* const> arguments, AssembleRequest& request,
                         std::string& fault) {
    const auto take = [&](const CommandWord& word, std::string& wordFault) {
        return takeAssembleWord(word, request, wordFault);
    };
    if (!readCommandWords(*findCommand("assemble"), arguments, take, fault)) {
        return false;
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
