// extract's GRIB2 reading on one file of any bytes, at a fixed place, and the rows made
// of what it gives. An assertion inside ecCodes ends the input, not the fuzzing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "grib/grib_reader.h"
#include "grib/grib_rows.h"
#include "io/data_file.h"

namespace {

struct LibraryAssertion {};

[[noreturn]] void throwLibraryAssertion(const std::string& /*where*/, const char* /*expression*/) {
    throw LibraryAssertion{};
}

}  // namespace

// Thrown out of ecCodes mid-work, an assertion leaves what the library had allocated: that
// is the library's memory, not wxguide's, whose leaks are still found.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libeccodes.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeDataFile(data, size);
    std::vector<DataFile> files(1);
    if (!openPlainDataFile(files[0], fuzzDataName)) {
        return 0;
    }
    setGribAssertionHandler(throwLibraryAssertion);
    GribPoint point;
    std::string fault;
    try {
        if (!readGribPoint(files, 41.5, -93.6, std::nullopt, point, fault)) {
            return 0;
        }
    } catch (const LibraryAssertion&) {
        return 0;
    }
    for (const int step : {1, 3}) {
        (void)buildGribRows(point.samples, step);
    }
    return 0;
}
