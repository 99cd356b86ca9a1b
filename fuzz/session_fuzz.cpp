// A whole session driven through the menu: the input is what the forecaster types, then
// the separator line "@@data@@", then the one data file d.txt (no separator: d.txt is empty).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/menu.h"
#include "blend/station_blend.h"
#include "fuzz_support.h"
#include "test_support.h"

namespace {

constexpr std::string_view separator = "\n@@data@@\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find(separator);
    const std::string typed(input.substr(0, split));
    // Typed names stay inside the scratch folder: a path could reach, and a report
    // replace, files elsewhere on the machine.
    if (typed.find_first_of("/\\") != std::string::npos) {
        return -1;
    }
    if (split == std::string_view::npos) {
        writeDataFile(nullptr, 0);
    } else {
        const std::size_t fileStart = split + separator.size();
        writeDataFile(data + fileStart, size - fileStart);
    }
    const ScopedConsole console(typed);
    runMainMenu(fixedStationSet());
    return 0;
}
