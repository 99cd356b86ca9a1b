#include "extract/grib_extract.h"

bool readsGribFiles() {
    return false;
}

int runGribExtract(const ExtractRequest& request, const std::optional<ExtractPlace>& /*place*/,
                   std::span<const DataFile> /*inputs*/, const ExtractFilesWriter& /*writer*/,
                   std::ostream& /*out*/, std::ostream& err) {
    err << "wxguide extract: " << request.profiles.front()
        << ": GRIB2 is not available in this build (no ecCodes); BUFKIT profiles work.\n";
    return 1;
}
