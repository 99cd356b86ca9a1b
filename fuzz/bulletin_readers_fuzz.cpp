// The check and both element readers on any input, as the station blend run calls them:
// each reader reads every bulletin within the bounds the check found.
#include <cstddef>
#include <cstdint>

#include "blend/bulletin_check.h"
#include "blend/cloud_wind_reader.h"
#include "blend/temp_precip_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeDataFile(data, size);
    DataFile file;
    openPlainDataFile(file, fuzzDataName);
    const StationSet set = fixedStationSet();
    BulletinVerdict verdict;
    BulletinFileBounds bounds;
    if (!checkBulletinFile(file, verdict, bounds, set)) {
        return 0;
    }
    TempPrecipElements eta{};
    TempPrecipElements avn{};
    MrfTempPrecipElements mrf{};
    UnreadRow unread;
    readTempPrecipElements(eta, avn, mrf, file, bounds, set, unread);
    CloudWindElements etaCloudWind{};
    CloudWindElements avnCloudWind{};
    MrfCloudWindElements mrfCloudWind{};
    readCloudWindElements(etaCloudWind, avnCloudWind, mrfCloudWind, file, bounds, set, unread);
    return 0;
}
