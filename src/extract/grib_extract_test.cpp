#include "extract/grib_extract.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

// The 2 m temperature of the GFS sample on HRRR's projection, 146 x 72 points 3 km apart
// from 38N 98W, made by `process` (83: HRRR); the grid's west edge runs near 98.0W.
void makeLambertFile(const std::string& name, int process) {
    const std::string sample = (samples / "gfs_2p5deg_f120_fields.grib2").string();
    const std::string commands =
        "grib_copy -w shortName=2t " + sample + " t2.grib2 && " +
        "grib_set -s gridDefinitionTemplateNumber=30 t2.grib2 l0.grib2 && " +
        "grib_set -s Nx=146,Ny=72,latitudeOfFirstGridPointInDegrees=38," +
        "longitudeOfFirstGridPointInDegrees=262,LoVInDegrees=262.5,Latin1InDegrees=38.5," +
        "Latin2InDegrees=38.5,LaDInDegrees=38.5,DxInMetres=3000,DyInMetres=3000," +
        "generatingProcessIdentifier=" + std::to_string(process) + " l0.grib2 " + name;
    ASSERT_EQ(std::system(commands.c_str()), 0) << "the ecCodes tools (tools/deps installs them)";
}

}  // namespace

// The run title names the month of the files' run: January and June samples, both GFS.
TEST(GribExtract, TitlesNameTheModelThePlaceAndTheRunOfTheFiles) {
    ASSERT_TRUE(readsGribFiles());
    const struct {
        const char* file;
        const char* titles;
        const char* summary;
    } cases[] = {
        {"gfs_2p5deg_f120_fields.grib2",
         "MODEL COLUMN FORECAST   GFS   KDSM   41.50N 93.60W\n"
         "RUN 12Z 10 JAN 2011   FORECAST HOURS 120 TO 120 EVERY 3 H   FROM GRIB2 OUTPUT\n",
         "Wrote KDSM_gfs_2011011012_columns.txt and KDSM_gfs_2011011012_severe.txt: 1 row, "
         "forecast hours 120 to 120.\n"},
        {"gfs_1deg_apcp_0_24.grib2",
         "MODEL COLUMN FORECAST   GFS   KDSM   41.50N 93.60W\n"
         "RUN 00Z 27 JUN 2022   FORECAST HOURS 3 TO 24 EVERY 3 H   FROM GRIB2 OUTPUT\n",
         "Wrote KDSM_gfs_2022062700_columns.txt and KDSM_gfs_2022062700_severe.txt: 8 rows, "
         "forecast hours 3 to 24.\n"},
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

// Two models or two runs at one place never share a name; a profile of no known model
// is GRIB2; a point is named by its place as the titles write it; names given are kept.
TEST(GribExtract, NamesTheFilesAfterThePlaceTheModelAndTheRun) {
    ScopedTempDirectory dir;
    makeLambertFile("hrrr.grib2", 83);
    makeLambertFile("unknown.grib2", 84);
    std::filesystem::copy_file(samples / "gfs_2p5deg_f120_fields.grib2", "gfs.grib2");
    ASSERT_EQ(std::system("grib_set -s dataTime=1800 gfs.grib2 gfs18.grib2"), 0);
    const ExtractPlace point{39.0, -96.0, "POINT", placeFileStem(39.0, -96.0)};
    const ExtractPlace station{39.0, -96.0, "KXYZ", "KXYZ"};
    const struct {
        const char* file;
        const ExtractPlace& place;
        const char* columns;  // given with --columns
        const char* columnsName;
        const char* severeName;
        const char* model;
    } cases[] = {
        {"gfs.grib2", station, nullptr, "KXYZ_gfs_2011011012_columns.txt",
         "KXYZ_gfs_2011011012_severe.txt", "GFS"},
        {"gfs18.grib2", station, nullptr, "KXYZ_gfs_2011011018_columns.txt",
         "KXYZ_gfs_2011011018_severe.txt", "GFS"},
        {"hrrr.grib2", station, nullptr, "KXYZ_hrrr_2011011012_columns.txt",
         "KXYZ_hrrr_2011011012_severe.txt", "HRRR"},
        {"unknown.grib2", station, nullptr, "KXYZ_grib2_2011011012_columns.txt",
         "KXYZ_grib2_2011011012_severe.txt", "GRIB2"},
        {"gfs.grib2", point, nullptr, "39.00N_96.00W_gfs_2011011012_columns.txt",
         "39.00N_96.00W_gfs_2011011012_severe.txt", "GFS"},
        {"hrrr.grib2", point, "mine.txt", "mine.txt", "39.00N_96.00W_hrrr_2011011012_severe.txt",
         "HRRR"},
    };
    for (const auto& c : cases) {
        ExtractRequest request;
        request.profiles = {c.file};
        if (c.columns != nullptr) {
            request.columnsName = c.columns;
        }
        const ExtractRun run = runOn(request, c.place);
        EXPECT_EQ(run.status, 0) << c.file << ": " << run.err;
        EXPECT_EQ(run.written.columnsName, c.columnsName) << c.file;
        EXPECT_EQ(run.written.severeName, c.severeName) << c.file;
        const std::string firstTitle = "MODEL COLUMN FORECAST   " + std::string(c.model) + "   " +
                                       c.place.name + "   39.00N 96.00W\n";
        EXPECT_EQ(run.written.columnsText.substr(0, firstTitle.size()), firstTitle) << c.file;
    }
    EXPECT_EQ(placeFileStem(-33.87, 151.21), "33.87S_151.21E");

    // Files of one run from two models (HRRR's hour 117 beside GFS's 120) are of no one model.
    ASSERT_EQ(std::system("grib_set -s stepRange=117 hrrr.grib2 hrrr117.grib2"), 0);
    ExtractRequest mixed;
    mixed.profiles = {"gfs.grib2", "hrrr117.grib2"};
    const ExtractRun run = runOn(mixed, station);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.written.columnsName, "KXYZ_grib2_2011011012_columns.txt");
}

// The grid point read is told with its hemispheres, distance and the grid's spacing; one
// farther than half a grid length is told on a second line.
TEST(GribExtract, TellsTheGridPointReadAndWhenItLiesFar) {
    ScopedTempDirectory dir;
    makeLambertFile("hrrr.grib2", 83);
    std::filesystem::copy_file(samples / "gfs_2p5deg_f120_fields.grib2", "gfs.grib2");
    const struct {
        const char* file;
        ExtractPlace place;
        const char* told;
    } cases[] = {
        {"gfs.grib2", desMoines,
         "wxguide extract: KDSM 41.50N 93.60W is read at the grid point 42.50N 92.50W, 143.6 "
         "km away; grid spacing 2.5 deg (278.0 km).\n"
         "wxguide extract: that grid point is farther from KDSM than half a grid length (139.0 "
         "km): the values read there may not stand for KDSM.\n"},
        {"gfs.grib2",
         {-33.87, 151.21, "POINT", "33.87S_151.21E"},
         "wxguide extract: POINT 33.87S 151.21E is read at the grid point 35.00S 150.00E, 167.6 "
         "km away; grid spacing 2.5 deg (278.0 km).\n"
         "wxguide extract: that grid point is farther from POINT than half a grid length (139.0 "
         "km): the values read there may not stand for POINT.\n"},
        {"hrrr.grib2",
         {39.0, -96.0, "KXYZ", "KXYZ"},
         "wxguide extract: KXYZ 39.00N 96.00W is read at the grid point 38.99N 95.99W, 1.3 km "
         "away; grid spacing 3.0 km.\n"},
        {"hrrr.grib2",
         {38.0, -98.05, "KXYZ", "KXYZ"},
         "wxguide extract: KXYZ 38.00N 98.05W is read at the grid point 38.00N 98.00W, 4.4 km "
         "away; grid spacing 3.0 km.\n"
         "wxguide extract: that grid point is farther from KXYZ than half a grid length (1.5 "
         "km): the values read there may not stand for KXYZ.\n"},
    };
    for (const auto& c : cases) {
        ExtractRequest request;
        request.profiles = {c.file};
        const ExtractRun run = runOn(request, c.place);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.substr(0, std::string(c.told).size()), c.told);
        // The next line, when any, is none of these.
        EXPECT_EQ(run.err.find("wxguide extract: that grid point", std::string(c.told).size()),
                  std::string::npos)
            << run.err;
    }
}
