#include "extract/extract_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "extract/grib_extract.h"
#include "test_support.h"

namespace {

struct ExtractRun {
    int status = 0;
    std::string out;
    std::string err;
    bool written = false;
};

ExtractRun runWith(const ExtractRequest& request, const std::optional<ExtractPlace>& place) {
    ExtractRun run;
    std::ostringstream out;
    std::ostringstream err;
    run.status = runExtract(request, place, out, err, [&](const ExtractFiles&, std::ostream&) {
        run.written = true;
        return true;
    });
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace

// The path is chosen by the request and by the first input's first bytes, read through the
// one opening of it.
TEST(ExtractCommand, APlaceARunOrTheWordGribTakeTheGrib2Path) {
    ScopedTempDirectory dir;
    writeFile("named.buf", "GRIB and then anything");
    writeFile("short", "GRI");
    writeFile("grix", "GRIX and then anything");
    const std::string grib2Refusal =
        readsGribFiles()
            ? "wxguide extract: GRIB2 files need --point LAT,LON or --station ID\n"
              "Try 'wxguide --help'.\n"
            : "wxguide extract: named.buf: GRIB2 is not available in this build (no ecCodes); "
              "BUFKIT profiles work.\n";
    ExtractRequest request;
    request.profiles = {"named.buf"};
    ExtractRun run = runWith(request, std::nullopt);
    EXPECT_EQ(run.err, grib2Refusal);
    EXPECT_EQ(run.status, readsGribFiles() ? 2 : 1);

    for (const char* name : {"short", "grix"}) {
        request.profiles = {name};
        run = runWith(request, std::nullopt);
        EXPECT_EQ(run.err, "wxguide extract: " + std::string(name) +
                               ": the profile holds no block (STID = ...); nothing was written.\n");
    }

    // A run alone takes the GRIB2 path, whatever the file holds.
    request.run = "2022062700";
    run = runWith(request, std::nullopt);
    EXPECT_EQ(run.status, readsGribFiles() ? 2 : 1) << run.err;
    EXPECT_FALSE(run.written);
}
