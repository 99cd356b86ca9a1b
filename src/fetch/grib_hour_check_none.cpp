#include "fetch/grib_hour_check.h"

BodyCheck checkGribHour(const std::filesystem::path& /*file*/, const GribHourWanted& /*wanted*/) {
    return {BodyVerdict::refused, "GRIB2 is not available in this build (no ecCodes)"};
}
