// The temperature, dew point and precipitation reader on any file that passes the
// bulletin check, as the station blend run calls it.
#include <cstddef>
#include <cstdint>

#include "blend/bulletin_check.h"
#include "blend/temp_precip_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeDataFile(data, size);
    DataFile file;
    openPlainDataFile(file, fuzzDataName);
    if (!checkBulletinFile(file)) {
        return 0;
    }
    TempPrecipElements eta{};
    TempPrecipElements avn{};
    MrfTempPrecipElements mrf{};
    UnreadRow unread;
    readTempPrecipElements(eta, avn, mrf, file, unread);
    return 0;
}
