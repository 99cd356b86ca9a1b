// The station table reader on any text: every station it keeps lies on the globe and has
// an id, and the text read a few bytes at a time gives the same table or the same problem
// as read in one block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_file.h"
#include "stations/station_table.h"

namespace {

bool readTable(std::string_view text, std::size_t blockSize, std::vector<StationPlace>& table,
               std::string& problem) {
    ScanFile in;
    openScanText(in, text, blockSize);
    return readStationTable(in, table, problem);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<StationPlace> table;
    std::string problem;
    const bool read = readTable(text, scanBlockSize, table, problem);
    std::vector<StationPlace> again;
    std::string againProblem;
    const bool readAgain = readTable(text, 7, again, againProblem);
    if (read != readAgain || problem != againProblem || table.size() != again.size() ||
        read != problem.empty()) {
        std::abort();
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        const StationPlace& place = table[i];
        if (place.id.empty() || place.latitude < -90.0 || place.latitude > 90.0 ||
            place.longitude < -180.0 || place.longitude > 180.0 || place.id != again[i].id ||
            place.name != again[i].name || place.latitude != again[i].latitude ||
            place.longitude != again[i].longitude) {
            std::abort();
        }
    }
    return 0;
}
