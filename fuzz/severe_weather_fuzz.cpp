// The severe weather run on any file: the dialogue, the reading and the report.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "tables/severe_weather.h"
#include "test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeDataFile(data, size);
    const ScopedConsole console(std::string(fuzzDataName) + "\n");
    runSevereWeather();
    return 0;
}
