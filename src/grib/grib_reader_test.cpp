#include "grib/grib_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "test_support.h"

// The GRIB2 samples are NCEP's own files (tests/products/grib/PROVENANCE.md); files of
// several hours and runs are cut from them here with the ecCodes tools.

namespace {

const std::string samples = std::string(WXGUIDE_TEST_PRODUCTS_DIR) + "/grib";
const std::string fields120 = samples + "/gfs_2p5deg_f120_fields.grib2";
const std::string apcp = samples + "/gfs_1deg_apcp_0_24.grib2";

std::string shell(const std::string& command) {
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    pclose(pipe);
    return output;
}

// What `grib_ls -l LAT,LON,1` gives at the nearest point, by "shortName typeOfLevel level".
std::map<std::string, double> gribLsAt(const std::string& file, const std::string& place) {
    std::istringstream lines(
        shell("grib_ls -F %.17g -l " + place + ",1 -p shortName,typeOfLevel,level " + file));
    std::map<std::string, double> values;
    std::string name, level, number;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        double value = 0;
        if (words >> name >> level >> number >> value) {
            values[name + " " + level + " " + number] = value;
        }
    }
    return values;
}

// readGribPoint on the files of these names, opened as extract opens them.
bool readPoint(const std::vector<std::string>& names, double lat, double lon,
               std::optional<long long> run, GribPoint& point, std::string& fault) {
    std::vector<DataFile> files(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!openPlainDataFile(files[i], names[i])) {
            fault = names[i] + ": not opened";
            return false;
        }
    }
    return readGribPoint(files, lat, lon, run, point, fault);
}

GribTables read(const std::vector<std::string>& files, double lat, double lon, int step,
                std::string& fault, std::optional<long long> run = std::nullopt) {
    GribPoint point;
    if (!readPoint(files, lat, lon, run, point, fault)) {
        return {};
    }
    return buildGribRows(point.samples, step);
}

TEST(GribReader, GivesWhatGribLsGivesAtThePlace) {
    const auto ls = gribLsAt(fields120, "41.534,-93.653");
    ASSERT_GT(ls.size(), 40u) << "grib_ls is missing (tools/deps installs libeccodes-tools)";
    std::string fault;
    const GribTables tables = read({fields120}, 41.534, -93.653, 3, fault);
    ASSERT_EQ(fault, "");
    ASSERT_EQ(tables.rows.size(), 1u);
    const GribRow& row = tables.rows[0];
    EXPECT_EQ(row.hour, 120);
    const auto at = [&](const char* key) { return ls.at(key); };
    EXPECT_DOUBLE_EQ(row.column[0], at("prmsl meanSea 0") / 100.0);
    EXPECT_DOUBLE_EQ(row.column[1], at("2t heightAboveGround 2") - 273.15);
    EXPECT_DOUBLE_EQ(row.column[2], at("t isobaricInhPa 850") - 273.15);
    EXPECT_DOUBLE_EQ(row.column[3], at("t isobaricInhPa 700") - 273.15);
    EXPECT_DOUBLE_EQ(row.column[4], at("t isobaricInhPa 500") - 273.15);
    EXPECT_NEAR(row.column[5], at("gh isobaricInhPa 500") - at("gh isobaricInhPa 1000"), 1e-3);
    EXPECT_DOUBLE_EQ(row.column[6], at("2r heightAboveGround 2"));
    EXPECT_DOUBLE_EQ(row.column[7], at("tp surface 0"));  // 114-120, the files' first period
    EXPECT_DOUBLE_EQ(row.column[8], at("tcc atmosphereSingleLayer 0"));
    // 10 m U and V share one message: V is there only with multi-field support.
    const double u = at("10u heightAboveGround 10"), v = at("10v heightAboveGround 10");
    EXPECT_DOUBLE_EQ(row.column[9], windDirection(u, v));
    EXPECT_DOUBLE_EQ(row.column[10], windSpeedKnots(u, v));
    EXPECT_GT(row.column[9], 180.0);  // a westerly of 5.26, 0.44 m/s
    EXPECT_DOUBLE_EQ(row.severe[0], at("4lftx surface 0"));
    EXPECT_DOUBLE_EQ(row.severe[1], at("lftx surface 0"));
    EXPECT_DOUBLE_EQ(row.severe[2], at("cin surface 0"));
    EXPECT_DOUBLE_EQ(row.severe[3], at("cape surface 0"));
    EXPECT_DOUBLE_EQ(row.severe[4], at("pt sigma 1"));
    EXPECT_DOUBLE_EQ(row.severe[5],
                     windSpeedKnots(at("u isobaricInhPa 900"), at("v isobaricInhPa 900")));
    EXPECT_DOUBLE_EQ(row.severe[6],
                     windSpeedKnots(at("u isobaricInhPa 500"), at("v isobaricInhPa 500")));
    EXPECT_DOUBLE_EQ(row.severe[7],
                     windSpeedKnots(at("u isobaricInhPa 250"), at("v isobaricInhPa 250")));
    EXPECT_DOUBLE_EQ(row.severe[8], at("lhtfl surface 0"));
    EXPECT_DOUBLE_EQ(row.severe[9], at("ishf surface 0"));
    for (const double value : row.column) {
        EXPECT_NE(value, gribMissing);
    }
    for (const double value : row.severe) {
        EXPECT_NE(value, gribMissing);
    }
    // The one file starts at hour 114: the first row's period is told.
    ASSERT_EQ(tables.notes.size(), 1u);
    EXPECT_EQ(
        tables.notes[0],
        "precipitation of hour 120 is for hours 114 to 120, the period the files give for it");
}

TEST(GribReader, PrecipitationFromTotalsAndFromBucketsAgree) {
    ScopedTempDirectory folder;
    // One file per hour, as the grib filter gives them: totals 0-h, or GFS's buckets.
    shell("grib_copy -w startStep=0 " + apcp + " total_[endStep].grib2");
    shell("grib_copy -w startStep=0,endStep=3/6 " + apcp + " bucket_[endStep].grib2");
    shell("grib_copy -w startStep=6/12/18 " + apcp + " bucket_[endStep].grib2");
    std::vector<std::string> totals, buckets;
    for (int hour = 3; hour <= 24; hour += 3) {
        totals.push_back("total_" + std::to_string(hour) + ".grib2");
        buckets.push_back("bucket_" + std::to_string(hour) + ".grib2");
    }
    std::string fault;
    const GribTables fromTotals = read(totals, 28.0, -94.0, 3, fault);
    ASSERT_EQ(fault, "");
    const GribTables fromBuckets = read(buckets, 28.0, -94.0, 3, fault);
    ASSERT_EQ(fault, "");
    ASSERT_EQ(fromTotals.rows.size(), 8u);
    ASSERT_EQ(fromBuckets.rows.size(), 8u);
    // 12-15 1.25, 15-18 7.0 (12-18 less 12-15), 18-21 0.75, 21-24 0.0625 mm.
    const double expected[] = {1.25, 7.0, 0.75, 0.0625};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(fromTotals.rows[i].hour, static_cast<int>(3 * (i + 1)));
        EXPECT_NEAR(fromTotals.rows[i].column[7], fromBuckets.rows[i].column[7], 1e-9) << i;
        if (i >= 4) {
            EXPECT_NEAR(fromBuckets.rows[i].column[7], expected[i - 4], 1e-9) << i;
        }
    }
    // Six-hour rows add up the three-hour amounts.
    const GribTables sixHourly = read(buckets, 28.0, -94.0, 6, fault);
    ASSERT_EQ(sixHourly.rows.size(), 4u);
    EXPECT_NEAR(sixHourly.rows[2].column[7], 8.25, 1e-9);
    EXPECT_NEAR(sixHourly.rows[3].column[7], 0.8125, 1e-9);
    // A gap: without hours 9 and 12 the 6-12 amount of a later row cannot be made from
    // buckets that start at 12; hour 15's row says so and is -9999.
    const std::vector<std::string> gap = {buckets[0], buckets[1], buckets[4], buckets[5]};
    const GribTables withGap = read(gap, 28.0, -94.0, 3, fault);
    ASSERT_EQ(withGap.rows.size(), 4u);
    EXPECT_EQ(withGap.rows[2].column[7], gribMissing);
    EXPECT_NEAR(withGap.rows[3].column[7], 7.0, 1e-9);
    ASSERT_FALSE(withGap.notes.empty());
    EXPECT_EQ(
        withGap.notes[0],
        "precipitation for hours 6 to 15 cannot be worked out from the files; written as -9999");
}

TEST(GribReader, RefusesPlacesOffTheGridSeveralRunsAndTwoFilesOfAnHour) {
    ScopedTempDirectory folder;
    // A regional grid of 2 degrees, 60N to 0N and 0E to 30E, holding 2 m temperature.
    shell(
        "grib_set -s discipline=0,parameterCategory=0,parameterNumber=0,"
        "typeOfFirstFixedSurface=103,scaleFactorOfFirstFixedSurface=0,"
        "scaledValueOfFirstFixedSurface=2 /usr/share/eccodes/samples/regular_ll_sfc_grib2.tmpl "
        "box.grib2");
    std::string fault;
    GribPoint point;
    EXPECT_TRUE(
        readPoint(std::vector<std::string>{"box.grib2"}, 41.0, 10.0, std::nullopt, point, fault))
        << fault;
    EXPECT_EQ(point.samples.size(), 1u);
    EXPECT_FALSE(
        readPoint(std::vector<std::string>{"box.grib2"}, 62.5, 10.0, std::nullopt, point, fault));
    EXPECT_EQ(fault, "box.grib2: the place lies outside the grid");
    EXPECT_FALSE(
        readPoint(std::vector<std::string>{"box.grib2"}, 41.5, -93.6, std::nullopt, point, fault));
    EXPECT_EQ(fault.rfind("box.grib2: the place lies outside the grid", 0), 0u) << fault;

    shell("grib_copy -w endStep=3 " + apcp + " run00.grib2");
    shell("grib_set -s dataTime=600 run00.grib2 run06.grib2");
    const std::vector<std::string> two = {"run00.grib2", "run06.grib2"};
    GribPoint runs;
    EXPECT_FALSE(readPoint(two, 28.0, -94.0, std::nullopt, runs, fault));
    EXPECT_EQ(fault,
              "the files hold several runs (2022062700, 2022062706); name the one to take "
              "with --run");
    ASSERT_TRUE(readPoint(two, 28.0, -94.0, 2022062706LL, runs, fault)) << fault;
    EXPECT_EQ(runs.run, 2022062706LL);
    EXPECT_EQ(runs.samples.size(), 1u);

    shell("cp run00.grib2 again.grib2");
    GribPoint twice;
    EXPECT_FALSE(readPoint(std::vector<std::string>{"run00.grib2", "again.grib2"}, 28.0, -94.0,
                           std::nullopt, twice, fault));
    EXPECT_EQ(fault, "again.grib2: hour 3 is in run00.grib2 as well; give one file per hour");

    writeFile("not.grib2", "no GRIB here\n");
    EXPECT_FALSE(
        readPoint(std::vector<std::string>{"not.grib2"}, 28.0, -94.0, std::nullopt, twice, fault));
    EXPECT_EQ(fault.rfind("not.grib2: ", 0), 0u) << fault;
    writeFile("cut.grib2", readFile(apcp).substr(0, 5000));
    EXPECT_FALSE(
        readPoint(std::vector<std::string>{"cut.grib2"}, 28.0, -94.0, std::nullopt, twice, fault));
    EXPECT_EQ(fault.rfind("cut.grib2: ", 0), 0u) << fault;
    EXPECT_EQ(fault.find('\n'), std::string::npos);
}

}  // namespace

namespace {

TEST(GribReader, ALambertGridTakesPlacesWithinOneAndAHalfGridLengthsOfItsEdge) {
    ScopedTempDirectory folder;
    // HRRR's projection on a grid of 146 x 72 points 3 km apart from 38N 98W: the 2 m
    // temperature of the GFS sample, its grid made Lambert conformal.
    shell("grib_copy -w shortName=2t " + fields120 + " t2.grib2");
    shell("grib_set -s gridDefinitionTemplateNumber=30 t2.grib2 l0.grib2");
    shell(
        "grib_set -s Nx=146,Ny=72,latitudeOfFirstGridPointInDegrees=38,"
        "longitudeOfFirstGridPointInDegrees=262,LoVInDegrees=262.5,Latin1InDegrees=38.5,"
        "Latin2InDegrees=38.5,LaDInDegrees=38.5,DxInMetres=3000,DyInMetres=3000 l0.grib2 "
        "hrrr.grib2");
    const std::vector<std::string> hrrr = {"hrrr.grib2"};
    GribPoint point;
    std::string fault;
    ASSERT_TRUE(readPoint(hrrr, 39.0, -96.0, std::nullopt, point, fault)) << fault;
    EXPECT_EQ(point.samples.size(), 1u);
    // West of the first point: 4.4 km away is within 1.5 grid lengths, 5.3 km is not.
    EXPECT_TRUE(readPoint(hrrr, 38.0, -98.05, std::nullopt, point, fault)) << fault;
    EXPECT_FALSE(readPoint(hrrr, 38.0, -98.06, std::nullopt, point, fault));
    EXPECT_EQ(fault,
              "hrrr.grib2: the place lies outside the grid (its nearest point is 5 km away, the "
              "grid length 3 km)");
    EXPECT_FALSE(readPoint(hrrr, 45.0, -96.0, std::nullopt, point, fault));
    EXPECT_EQ(fault,
              "hrrr.grib2: the place lies outside the grid (its nearest point is 566 km away, "
              "the grid length 3 km)");
}

TEST(GribReader, RefusesAFieldTwiceInAFileAndTakesItOncePerFile) {
    ScopedTempDirectory folder;
    shell("grib_copy -w startStep=0,endStep=3 " + apcp + " a.grib2");
    shell("grib_copy -w startStep=0,endStep=6 " + apcp + " b.grib2");
    shell("cat a.grib2 b.grib2 a.grib2 > twice.grib2");
    GribPoint point;
    std::string fault;
    EXPECT_FALSE(readPoint({"twice.grib2"}, 28.0, -94.0, std::nullopt, point, fault));
    EXPECT_EQ(fault, "twice.grib2: message 3: APCP of hour 3 is in the file twice");
    // The same hour in another run is no repeat.
    shell("grib_set -s dataTime=600 a.grib2 a06.grib2");
    shell("cat a.grib2 b.grib2 a06.grib2 > runs.grib2");
    EXPECT_TRUE(readPoint({"runs.grib2"}, 28.0, -94.0, 2022062700LL, point, fault)) << fault;
    EXPECT_EQ(point.samples.size(), 2u);
}

}  // namespace
