#include "extract/grib_extract.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

const std::filesystem::path samples = std::filesystem::path(WXGUIDE_TEST_PRODUCTS_DIR) / "grib";

struct ExtractRun {
    int status = 0;
    std::string out;
    std::string err;
    ExtractFiles written;
};

ExtractRun runOn(const ExtractRequest& request, const std::optional<ExtractPlace>& place) {
    std::vector<DataFile> inputs(request.profiles.size());
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        openPlainDataFile(inputs[i], request.profiles[i]);
    }
    ExtractRun run;
    std::ostringstream out;
    std::ostringstream err;
    const ExtractFilesWriter writer = [&](const ExtractFiles& files, std::ostream&) {
        run.written = files;
        return true;
    };
    run.status = runGribExtract(request, place, inputs, writer, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

const ExtractPlace desMoines{41.5, -93.6, "KDSM", "KDSM"};

}  // namespace

// The run title names the month of the files' run: January and June samples.
TEST(GribExtract, TitlesNameThePlaceAndTheRunOfTheFiles) {
    ASSERT_TRUE(readsGribFiles());
    const struct {
        const char* file;
        const char* titles;
        const char* summary;
    } cases[] = {
        {"gfs_2p5deg_f120_fields.grib2",
         "MODEL COLUMN FORECAST   GRIB2   KDSM   41.50N 93.60W\n"
         "RUN 12Z 10 JAN 2011   FORECAST HOURS 120 TO 120 EVERY 3 H   FROM GRIB2 OUTPUT\n",
         "Wrote KDSM_columns.txt and KDSM_severe.txt: 1 rows, forecast hours 120 to 120.\n"},
        {"gfs_1deg_apcp_0_24.grib2",
         "MODEL COLUMN FORECAST   GRIB2   KDSM   41.50N 93.60W\n"
         "RUN 00Z 27 JUN 2022   FORECAST HOURS 3 TO 24 EVERY 3 H   FROM GRIB2 OUTPUT\n",
         "Wrote KDSM_columns.txt and KDSM_severe.txt: 8 rows, forecast hours 3 to 24.\n"},
    };
    for (const auto& c : cases) {
        ExtractRequest request;
        request.profiles = {(samples / c.file).string()};
        const ExtractRun run = runOn(request, desMoines);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.written.columnsText.substr(0, std::string(c.titles).size()), c.titles);
        EXPECT_EQ(run.out, c.summary);
    }
}

TEST(GribExtract, RefusalsInTheirOrder) {
    ScopedTempDirectory dir;
    std::filesystem::copy_file(samples / "gfs_2p5deg_f120_fields.grib2", "g.grib2");
    struct Case {
        const char* what;
        std::vector<std::string> files;
        bool placed;
        const char* run;
        const char* columns;
        const char* severe;
        int status;
        const char* told;
    };
    const Case cases[] = {
        {"no place before a bad run",
         {"none.grib2"},
         false,
         "bad",
         nullptr,
         nullptr,
         2,
         "wxguide extract: GRIB2 files need --point LAT,LON or --station ID\n"
         "Try 'wxguide --help'.\n"},
        {"a bad run before a missing file",
         {"none.grib2"},
         true,
         "20220627",
         nullptr,
         nullptr,
         2,
         "wxguide extract: --run takes the run as YYYYMMDDHH, as 2022062700\n"
         "Try 'wxguide --help'.\n"},
        {"a missing file before one name twice",
         {"none.grib2"},
         true,
         nullptr,
         "a",
         "a",
         1,
         "wxguide extract: none.grib2 does not exist; nothing was written.\n"},
        {"one name twice",
         {"g.grib2"},
         true,
         nullptr,
         "a",
         "a",
         2,
         "wxguide extract: the column file and the severe file need two names, not a twice\n"
         "Try 'wxguide --help'.\n"},
        {"an input as output",
         {"g.grib2"},
         true,
         nullptr,
         nullptr,
         "./g.grib2",
         1,
         "wxguide extract: ./g.grib2 is the input g.grib2; nothing was written.\n"},
        {"a run not in the files", {"g.grib2"}, true, "2011011000", nullptr, nullptr, 1, nullptr},
    };
    for (const Case& c : cases) {
        ExtractRequest request;
        request.profiles = c.files;
        if (c.run != nullptr) {
            request.run = c.run;
        }
        if (c.columns != nullptr) {
            request.columnsName = c.columns;
        }
        if (c.severe != nullptr) {
            request.severeName = c.severe;
        }
        const ExtractRun run = runOn(request, c.placed ? std::optional(desMoines) : std::nullopt);
        EXPECT_EQ(run.status, c.status) << c.what;
        if (c.told != nullptr) {
            EXPECT_EQ(run.err, c.told) << c.what;
        }
        EXPECT_EQ(run.out, "") << c.what;
        EXPECT_TRUE(run.written.columnsName.empty()) << c.what;
    }
}
