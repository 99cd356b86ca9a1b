#include "app/extract_options.h"

#include <charconv>
#include <optional>
#include <system_error>

bool readExtractRequest(std::span<const char* const> arguments, ExtractRequest& request,
                        std::string& fault) {
    bool optionsEnded = false;
    bool stepGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string word = arguments[i];
        if (optionsEnded || word == "-" || !word.starts_with("-")) {
            request.profiles.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word != "--step" && word != "--columns" && word != "--severe" && word != "--point" &&
            word != "--station" && word != "--run") {
            fault = "unknown option: " + word;
            return false;
        }
        if (i + 1 == arguments.size()) {
            fault = word + " needs a value";
            return false;
        }
        const std::string value = arguments[++i];
        if (word == "--step") {
            int step = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), step);
            if (stepGiven || error != std::errc() || end != value.data() + value.size() ||
                step < 1 || step > 240) {
                fault = "--step takes one whole number of hours from 1 to 240";
                return false;
            }
            request.step = step;
            stepGiven = true;
            continue;
        }
        std::optional<std::string>& name = word == "--columns"   ? request.columnsName
                                           : word == "--severe"  ? request.severeName
                                           : word == "--point"   ? request.point
                                           : word == "--station" ? request.station
                                                                 : request.run;
        if (name || value.empty()) {
            fault = word + " takes one file name";
            return false;
        }
        name = value;
    }
    if (request.profiles.empty()) {
        fault = "no profile given";
        return false;
    }
    if (request.point && request.station) {
        fault = "--point and --station name the place twice; give one";
        return false;
    }
    if (request.profiles.size() > 1 && !request.point && !request.station) {
        fault = "one profile at a time (" + request.profiles[1] + " is a second)";
        return false;
    }
    return true;
}
