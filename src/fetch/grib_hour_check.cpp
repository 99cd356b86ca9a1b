#include "fetch/grib_hour_check.h"

#include <algorithm>
#include <filesystem>
#include <span>
#include <string>

#include "fetch/grib_index.h"
#include "grib/grib_fields.h"
#include "grib/grib_reader.h"
#include "io/data_file.h"

BodyCheck checkGribHour(const std::filesystem::path& file, const GribHourWanted& wanted) {
    DataFile data;
    if (!openPlainDataFile(data, file.string())) {
        return {BodyVerdict::refused, "it cannot be read back"};
    }
    GribPoint point;
    std::string fault;
    if (!readGribPoint(std::span<const DataFile>(&data, 1), wanted.latitude, wanted.longitude,
                       wanted.run, point, fault)) {
        // The reader names the file: here it is the download's, named by its URL.
        const std::string name = file.string() + ": ";
        return {BodyVerdict::refused,
                "ecCodes: " + (fault.starts_with(name) ? fault.substr(name.size()) : fault)};
    }
    for (std::size_t field = 0; field < gribFieldCount; ++field) {
        const auto wantedField = static_cast<GribField>(field);
        if (wanted.hour == 0 && fieldOverAPeriod(wantedField)) {
            continue;
        }
        const bool found =
            std::any_of(point.samples.begin(), point.samples.end(), [&](const GribSample& sample) {
                return sample.field == wantedField && sample.endHour == wanted.hour;
            });
        if (!found) {
            return {BodyVerdict::refused, "it holds no " + std::string(gribFieldNames[field]) +
                                              " of hour " + std::to_string(wanted.hour)};
        }
    }
    return {BodyVerdict::whole, {}};
}
