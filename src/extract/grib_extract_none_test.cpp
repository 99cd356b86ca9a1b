#include "extract/grib_extract.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

// A build without ecCodes refuses GRIB2 files in one line, whatever the place.
TEST(GribExtractNone, RefusesGrib2FilesByName) {
    EXPECT_FALSE(readsGribFiles());
    ExtractRequest request;
    request.profiles = {"gfs.grib2", "other.grib2"};
    std::ostringstream out;
    std::ostringstream err;
    const ExtractFilesWriter writer = [](const ExtractFiles&, std::ostream&) { return true; };
    EXPECT_EQ(
        runGribExtract(request, ExtractPlace{41.5, -93.6, "KDSM", "KDSM"}, {}, writer, out, err),
        1);
    EXPECT_EQ(err.str(),
              "wxguide extract: gfs.grib2: GRIB2 is not available in this build (no ecCodes); "
              "BUFKIT profiles work.\n");
    EXPECT_EQ(out.str(), "");
}
