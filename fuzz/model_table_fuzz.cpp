// The long GFS model column run, the longest of the four, on any file: the dialogue,
// the reading, the conversions and the report.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "tables/model_table.h"
#include "test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeDataFile(data, size);
    const ScopedConsole console(std::string(fuzzDataName) + "\n");
    runModelTable(maxModelRows);
    return 0;
}
