#include "extract/extract_command.h"

#include <cstring>
#include <vector>

#include "extract/bufkit_extract.h"
#include "extract/grib_extract.h"
#include "io/data_file.h"
#include "io/platform.h"

namespace {

// A GRIB2 file begins with the word GRIB (NOMADS files carry no other header).
bool beginsAsGrib(const DataFile& input) {
    char start[4] = {};
    return input.descriptor >= 0 && readFileAt(input.descriptor, start, 4, 0) == 4 &&
           std::memcmp(start, "GRIB", 4) == 0;
}

}  // namespace

int runExtract(const ExtractRequest& request, const std::optional<ExtractPlace>& place,
               std::ostream& out, std::ostream& err, const ExtractFilesWriter& writer) {
    // Each input is opened here, once: what is read of it later is read through this.
    std::vector<DataFile> inputs(request.profiles.size());
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        openPlainDataFile(inputs[i], request.profiles[i]);
    }
    if (request.point || request.station || request.run || beginsAsGrib(inputs.front())) {
        return runGribExtract(request, place, inputs, writer, out, err);
    }
    return runBufkitExtract(request, inputs.front(), writer, out, err);
}
