// The station set options on any input. A first byte 0: the rest is --stations' value, a
// line end, then --city's value, read as text. Otherwise: the rest is the words of a
// command line, one a line, read as a session with a small station table. Whatever is
// accepted is a set the blend can take: 1 to 8 distinct ids, weights from 0 to 1 that
// add up to 1, a city on the globe.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/assemble_options.h"
#include "app/command_table.h"
#include "app/session_options.h"
#include "fuzz_support.h"
#include "io/option_word.h"
#include "stations/set_options.h"
#include "stations/stations_command.h"

namespace {

// A few rows of data/stations.csv.
constexpr const char* smallTable =
    "id,name,latitude,longitude\n"
    "KBKX,\"Brookings, Brookings Municipal Airport, SD, United States\",44.300002,-96.816666\n"
    "KFSD,\"Sioux Falls Foss Field, SD, United States\",43.583335,-96.750003\n"
    "KHON,\"Huron, Huron Regional Airport, SD, United States\",44.383335,-98.216667\n"
    "KMHE,\"Mitchell, Mitchell Municipal Airport, SD, United States\",43.766666,-98.033333\n"
    "NZSP,Amundsen-Scott,-90.000000,0\n";

void checkSet(const StationSet& set) {
    if (set.ids.empty() || set.ids.size() > maxSetStations ||
        set.ids.size() != set.weights.size()) {
        std::abort();
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < set.ids.size(); ++i) {
        if (!(set.weights[i] >= 0.0 && set.weights[i] <= 1.0)) {
            std::abort();
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (set.ids[i] == set.ids[j]) {
                std::abort();
            }
        }
        sum += set.weights[i];
    }
    if (std::fabs(sum - 1.0) > 2 * weightSumTolerance) {
        std::abort();
    }
}

void fuzzText(std::string_view text) {
    const std::size_t split = text.find('\n');
    StationRequest request;
    std::string fault;
    if (readStationRequest(text.substr(0, split), request, fault)) {
        if (!request.weights.empty()) {
            checkSet({request.ids, request.weights});
        } else if (request.ids.empty() || request.ids.size() > maxSetStations) {
            std::abort();
        }
    } else if (fault.empty() || fault.find('\n') != std::string::npos) {
        std::abort();
    }
    if (split == std::string_view::npos) {
        return;
    }
    CityPoint city;
    if (readCityPoint(text.substr(split + 1), city, fault)) {
        if (!(std::fabs(city.latitude) <= 90.0 && std::fabs(city.longitude) <= 180.0)) {
            std::abort();
        }
    } else if (fault.empty()) {
        std::abort();
    }
}

// The commands that take the set as the program runs them; the menu and run are left out.
std::optional<int> runWithSet(const SessionRequest& request, const ListedSet& listed,
                              std::ostream& out, std::ostream& err) {
    const std::string_view command = request.command == nullptr ? "" : request.command->word;
    if (command == "stations") {
        return writeStationList(listed, out);
    }
    if (command != "assemble") {
        return std::nullopt;
    }
    AssembleRequest assemble;
    std::string fault;
    if (!readAssembleRequest(request.commandArguments, assemble, fault)) {
        return writeUsageError(err, "assemble", fault);
    }
    return runAssemble(assemble, out, err, listed.set);
}

void fuzzWords(std::string_view text) {
    // Words stay inside the scratch folder: assemble could read or write elsewhere.
    if (text.find_first_of("/\\") != std::string_view::npos) {
        return;
    }
    writeDataFile(nullptr, 0);
    std::filesystem::create_directory("table");
    std::ofstream("table/stations.csv") << smallTable;
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        words.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    std::vector<const char*> arguments;
    for (const std::string& word : words) {
        arguments.push_back(word.c_str());
    }
    const StationTableSearch search{{}, (std::filesystem::current_path() / "table").string()};
    std::ostringstream out;
    std::ostringstream err;
    SessionRequest request;
    std::string fault;
    ListedSet listed;
    std::optional<int> status;
    if (!readSessionWords(arguments, request, fault)) {
        status = writeUsageError(err, "", fault);
    } else {
        status = settleStationSet(request, search, listed, err);
    }
    if (!status) {
        checkSet(listed.set);
        status = runWithSet(request, listed, out, err);
    }
    if (status && (*status < 0 || *status > 2 || (*status != 0 && err.str().empty()))) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] == 0) {
        fuzzText(text);
    } else {
        fuzzWords(text);
    }
    return 0;
}
