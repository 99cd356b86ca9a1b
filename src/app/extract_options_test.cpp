#include "app/extract_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "extract/grib_extract.h"
#include "test_support.h"

TEST(ExtractOptions, ReadsThePlaceTheStepAndTheNamesOrNamesTheFault) {
    ExtractRequest grib;
    std::string fault;
    const std::vector<const char*> words = {
        "--step", "6", "--point", "44.3,-96.8", "--run", "2022062700", "a.grib2", "--", "-b.grib2"};
    ASSERT_TRUE(readExtractRequest(words, grib, fault)) << fault;
    EXPECT_EQ(grib.step, 6);
    EXPECT_EQ(grib.point, "44.3,-96.8");
    EXPECT_EQ(grib.run, "2022062700");
    EXPECT_EQ(grib.profiles, (std::vector<std::string>{"a.grib2", "-b.grib2"}));
    EXPECT_FALSE(grib.station || grib.columnsName || grib.severeName);

    struct Refusal {
        std::vector<const char*> words;
        std::string fault;
    };
    const Refusal refusals[] = {
        {{"--step", "0", "a.buf"}, "--step takes one whole number of hours from 1 to 240"},
        {{"--step", "241", "a.buf"}, "--step takes one whole number of hours from 1 to 240"},
        {{"--step", "3h", "a.buf"}, "--step takes one whole number of hours from 1 to 240"},
        {{"--step", "3", "--step", "3", "a.buf"},
         "--step takes one whole number of hours from 1 to 240"},
        {{"--columns", "", "a.buf"}, "--columns takes one file name"},
        {{"--severe", "s.txt", "--severe", "t.txt", "a.buf"}, "--severe takes one file name"},
        {{"a.buf", "--run"}, "--run needs a value"},
        {{"--step=0", "a.buf"}, "--step takes one whole number of hours from 1 to 240"},
        {{"--colour=red", "a.buf"}, "unknown option: --colour"},
        {{"--ratio", "0.5", "a.buf"}, "--ratio belongs after 'run'"},
        {{"-q", "a.buf"}, "-q belongs after 'run' or 'assemble'"},
        {{"--columns", "c.txt"}, "no profile given"},
        {{"--point", "1,2", "--station", "KFSD", "a.grib2"},
         "--point and --station name the place twice; give one"},
        {{"a.buf", "b.buf"}, "one profile at a time (b.buf is a second)"},
    };
    for (const Refusal& refusal : refusals) {
        ExtractRequest request;
        std::string told;
        EXPECT_FALSE(readExtractRequest(refusal.words, request, told)) << refusal.fault;
        EXPECT_EQ(told, refusal.fault);
    }
    // The edges of the step are taken.
    for (const char* step : {"1", "240"}) {
        ExtractRequest request;
        const std::vector<const char*> edge = {"--step", step, "a.buf"};
        EXPECT_TRUE(readExtractRequest(edge, request, fault)) << step << ": " << fault;
    }
}

// Which fault wins when several are wrong: the words, then the place (the table before the
// station in it), then what extract finds in the files; a point needs no table.
TEST(ExtractOptions, ThePlaceIsSettledOnceInTheOrderOfItsFaults) {
    ScopedTempDirectory dir;
    if (!readsGribFiles()) {
        // A build without GRIB2 refuses GRIB2 files before any place: no table is looked for.
        ExtractRequest request;
        request.station = "NOPE";
        request.profiles = {"a.grib2"};
        std::optional<ExtractPlace> place;
        std::ostringstream err;
        EXPECT_EQ(settleExtractPlace(request, {dir.path / "wxguide", "none"}, place, err),
                  std::nullopt);
        EXPECT_EQ(err.str(), "");
        EXPECT_FALSE(place);
        return;
    }
    std::filesystem::create_directory("table");
    std::filesystem::create_directory("empty");
    writeFile("table/stations.csv",
              "id,name,latitude,longitude\nKDSM,Des Moines,41.53,-93.65\nKFSD,Sioux Falls,"
              "43.58,-96.74\n");
    const StationTableSearch withTable{dir.path / "wxguide", (dir.path / "table").string()};
    const StationTableSearch withoutTable{dir.path / "wxguide", (dir.path / "empty").string()};
    struct Case {
        std::vector<const char*> words;
        bool table;
        std::optional<int> status;
        std::string told;
        std::optional<ExtractPlace> place;
    };
    const std::string tryHelp = "\nTry 'wxguide --help'.\n";
    const Case cases[] = {
        {{"--station", "KFSD", "--run", "bad", "a.grib2"},
         true,
         std::nullopt,
         "",
         ExtractPlace{43.58, -96.74, "KFSD", "KFSD"}},
        // A point's files are named after the point as the titles write it, whatever the
        // input files' names.
        {{"--point", "41.5,-93.6", "data/gfs.t00z.grib2", "b.grib2"},
         false,
         std::nullopt,
         "",
         ExtractPlace{41.5, -93.6, "POINT", "41.50N_93.60W"}},
        {{"--point", "-41.534,93.656", "x.grib.grb2"},
         false,
         std::nullopt,
         "",
         ExtractPlace{-41.534, 93.656, "POINT", "41.53S_93.66E"}},
        {{"--point", "1,2", ".grib2"},
         false,
         std::nullopt,
         "",
         ExtractPlace{1, 2, "POINT", "1.00N_2.00E"}},
        {{"--run", "bad", "a.grib2"}, false, std::nullopt, "", std::nullopt},
        {{"--station", "NOPE", "--run", "bad", "a.grib2"},
         true,
         2,
         "wxguide extract: no station NOPE in the station table" + tryHelp,
         std::nullopt},
        {{"--station", "kdsm", "a.grib2"},
         true,
         2,
         "wxguide extract: no station kdsm in the station table; station ids are written in "
         "capitals" +
             tryHelp,
         std::nullopt},
        {{"--station", "NOPE", "a.grib2"}, false, 1, "the station table", std::nullopt},
        {{"--point", "99,0", "--run", "bad", "a.grib2"},
         false,
         2,
         "wxguide extract: --point: the latitude 99 lies outside -90 to 90" + tryHelp,
         std::nullopt},
    };
    for (const Case& c : cases) {
        ExtractRequest request;
        std::string fault;
        ASSERT_TRUE(readExtractRequest(c.words, request, fault)) << fault;
        std::optional<ExtractPlace> place = ExtractPlace{};
        std::ostringstream err;
        EXPECT_EQ(settleExtractPlace(request, c.table ? withTable : withoutTable, place, err),
                  c.status)
            << c.words[1];
        if (c.status == 1) {
            EXPECT_NE(err.str().find(c.told), std::string::npos) << err.str();
        } else {
            EXPECT_EQ(err.str(), c.told) << c.words[1];
        }
        ASSERT_EQ(place.has_value(), c.place.has_value()) << c.words[1];
        if (place) {
            EXPECT_EQ(place->latitude, c.place->latitude);
            EXPECT_EQ(place->longitude, c.place->longitude);
            EXPECT_EQ(place->name, c.place->name);
            EXPECT_EQ(place->fileStem, c.place->fileStem);
        }
    }
    // The words come before the place: a place given twice is a fault of the words.
    const std::vector<const char*> twice = {"--point", "1,2", "--station", "NOPE", "a.grib2"};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runExtractCommand(twice, withoutTable, out, err), 2);
    EXPECT_EQ(err.str(),
              "wxguide extract: --point and --station name the place twice; give one" + tryHelp);
}
