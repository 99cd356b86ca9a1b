// The long GFS model column run, the longest of the four, on any file: the opening, the
// reading, the conversions and the report.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "fuzz_support.h"
#include "io/data_file.h"
#include "tables/model_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeDataFile(data, size);
    std::ostringstream messages;
    DataFile file;
    if (openNamedDataFile(file, fuzzDataName, messages)) {
        makeModelTable(file, maxModelRows, messages);
    }
    return 0;
}
