// The GRIB2 message check on any bytes, and the fields it splits a message into: each
// field of a message the check took must pass the check again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "grib/grib_message_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> bytes(data, size);
    std::uint64_t length = 0;
    std::string fault;
    (void)readGribLength(bytes, length, fault);
    if (!checkGribMessage(bytes).empty()) {
        return 0;
    }
    std::vector<std::vector<unsigned char>> fields;
    if (!splitGribFields(bytes, fields, fault)) {
        return 0;
    }
    if (fields.empty()) {
        std::abort();  // a message the check took has a section 7
    }
    for (const std::vector<unsigned char>& field : fields) {
        if (!checkGribMessage(field).empty()) {
            std::abort();
        }
    }
    return 0;
}
