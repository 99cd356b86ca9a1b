#include "app/verify_options.h"

#include <charconv>
#include <cstdlib>

#include "app/eta_ratio.h"

namespace {

bool readDays(const std::string& text, int& days) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, days);
    return error == std::errc() && stop == end && days >= 1 && days <= maxVerifyDays;
}

bool takeWord(const CommandWord& word, VerifyRequest& request, bool& daysGiven,
              std::string& fault) {
    if (word.option == nullptr) {
        fault = "verify takes no word but its options: " + word.text;
        return false;
    }
    const std::string_view name = word.option->name;
    std::optional<std::string>* file = name == "--csv"    ? &request.csv
                                       : name == "--plot" ? &request.plot
                                                          : nullptr;
    if (name == "--offline") {
        request.offline = true;
    } else if (name == "--days") {
        if (daysGiven || !readDays(word.text, request.days)) {
            fault = "--days takes one whole number of days, 1 to " + std::to_string(maxVerifyDays);
            return false;
        }
        daysGiven = true;
    } else if (name == "--end") {
        CalendarDate date;
        if (request.end || !readCalendarDate(word.text, date)) {
            fault = "--end takes one date written as 12/08/2026";
            return false;
        }
        request.end = date;
    } else if (file != nullptr) {
        if (*file || word.text.empty()) {
            fault = std::string(name) + " takes one file name";
            return false;
        }
        *file = word.text;
    }
    return true;
}

}  // namespace

bool readVerifyRequest(std::span<const char* const> words, VerifyRequest& request,
                       std::string& fault) {
    const CommandRow* row = findCommand("verify");
    bool daysGiven = false;
    if (row == nullptr || !readCommandWords(
                              *row, words,
                              [&](const CommandWord& word, std::string& told) {
                                  return takeWord(word, request, daysGiven, told);
                              },
                              fault)) {
        return false;
    }
    return readRatioVariable(std::getenv("WXGUIDE_RATIO"), request, fault);
    return true;
}

bool readRatioVariable(const char* value, VerifyRequest& request, std::string& fault) {
    if (value == nullptr || *value == '\0') {
        return true;
    }
    if (readEtaRatio(value, request.ratio) != RatioWord::ratio) {
        fault = "WXGUIDE_RATIO is not a ratio from 0 to 1: " + std::string(value);
        return false;
    }
    request.ratioFromEnvironment = true;
    return true;
}
