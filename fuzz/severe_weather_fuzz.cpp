// The severe weather run on any file: the opening, the reading and the report.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "fuzz_support.h"
#include "io/data_file.h"
#include "tables/severe_weather.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeDataFile(data, size);
    std::ostringstream messages;
    DataFile file;
    if (openNamedDataFile(file, fuzzDataName, messages)) {
        makeSevereWeatherTable(file, messages);
    }
    return 0;
}
