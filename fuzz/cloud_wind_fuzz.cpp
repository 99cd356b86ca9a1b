// The cloud and wind reader on any file that passes the bulletin check, as the station
// blend run calls it.
#include <cstddef>
#include <cstdint>

#include "blend/bulletin_check.h"
#include "blend/cloud_wind_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeDataFile(data, size);
    DataFile file;
    openPlainDataFile(file, fuzzDataName);
    if (!checkBulletinFile(file)) {
        return 0;
    }
    CloudWindElements eta{};
    CloudWindElements avn{};
    MrfCloudWindElements mrf{};
    UnreadRow unread;
    readCloudWindElements(eta, avn, mrf, file, unread);
    return 0;
}
