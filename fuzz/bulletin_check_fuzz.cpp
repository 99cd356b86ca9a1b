// The bulletin check of the station blend on any file.
#include <cstddef>
#include <cstdint>

#include "blend/bulletin_check.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeDataFile(data, size);
    DataFile file;
    openPlainDataFile(file, fuzzDataName);
    checkBulletinFile(file);
    return 0;
}
