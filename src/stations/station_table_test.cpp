#include "stations/station_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

TEST(StationTable, ReadsQuotedNamesAndDegrees) {
    const std::string text =
        "id,name,latitude,longitude\n"
        "KBKX,\"Brookings, Brookings Municipal Airport, SD, United States\",44.300002,-96.816666\n"
        "LIBF,\"Foggia \"\"Gino Lisa\"\" Airport, Foggia, 75, IT\",41.432899,15.535000\r\n"
        "NZSP,Amundsen-Scott,-90.000000,0\n"
        "NZCH,Christchurch,-43.49,172.53\n"
        "EDGE,\"North pole, date line\",90,-180\n" +
        std::string("LONG,") + std::string(maxStationLineLength - 9, 'x') + ",1,2";
    ScanFile in;
    openScanText(in, text);
    std::vector<StationPlace> table;
    std::string problem;
    ASSERT_TRUE(readStationTable(in, table, problem)) << problem;
    ASSERT_EQ(table.size(), 6U);
    EXPECT_EQ(table[0].name, "Brookings, Brookings Municipal Airport, SD, United States");
    EXPECT_EQ(table[0].latitude, 44.300002);
    EXPECT_EQ(table[0].longitude, -96.816666);
    EXPECT_EQ(table[1].name, "Foggia \"Gino Lisa\" Airport, Foggia, 75, IT");
    EXPECT_EQ(table[1].longitude, 15.535);
    EXPECT_EQ(table[2].latitude, -90.0);
    EXPECT_EQ(findStation(table, "LIBF"), &table[1]);
    EXPECT_EQ(findStation(table, "KFSD"), nullptr);
    EXPECT_EQ(table[3].longitude, 172.53);
    EXPECT_EQ(table[4].latitude, 90.0);
    EXPECT_EQ(table[4].longitude, -180.0);
    EXPECT_EQ(table[4].name, "North pole, date line");
    // A line of exactly the longest length is a station.
    EXPECT_EQ(table[5].name.size(), maxStationLineLength - 9);
}

TEST(StationTable, AFifthColumnGivesTheZoneWhereItIsKnown) {
    ScanFile in;
    openScanText(in,
                 "id,name,latitude,longitude,utc_offset\n"
                 "KDTW,Detroit,42.21,-83.35,-5\nPHNL,Honolulu,21.32,-157.92,-10\n"
                 "NZCH,Christchurch,-43.49,172.53,+12\nKXYZ,Nowhere,40,-100,\n");
    std::vector<StationPlace> table;
    std::string problem;
    ASSERT_TRUE(readStationTable(in, table, problem)) << problem;
    ASSERT_EQ(table.size(), 4U);
    EXPECT_EQ(table[0].utcOffset, -5);
    EXPECT_EQ(table[1].utcOffset, -10);
    EXPECT_EQ(table[2].utcOffset, 12);
    EXPECT_FALSE(table[3].utcOffset);
    for (const char* line :
         {"KDTW,D,42.2,-83.3,-5.5", "KDTW,D,42.2,-83.3,-13", "KDTW,D,42.2,-83.3,15",
          "KDTW,D,42.2,-83.3,EST", "KDTW,D,42.2,-83.3", "KDTW,D,42.2,-83.3,-5,x"}) {
        ScanFile refused;
        const std::string text =
            std::string("id,name,latitude,longitude,utc_offset\n") + line + "\n";
        openScanText(refused, text);
        EXPECT_FALSE(readStationTable(refused, table, problem)) << line;
        EXPECT_EQ(problem, "line 2 is not a station") << line;
    }
    // A four-column table takes no fifth field.
    ScanFile unzoned;
    openScanText(unzoned, "id,name,latitude,longitude\nKDTW,D,42.2,-83.3,-5\n");
    EXPECT_FALSE(readStationTable(unzoned, table, problem));
    EXPECT_EQ(problem, "line 2 is not a station");
}

TEST(StationTable, ALineThatIsNoStationIsNamed) {
    const char* const texts[][2] = {
        {"", "it is empty"},
        {"station,lat,lon\n", "line 1 is not \"id,name,latitude,longitude\""},
        {"id,name,latitude,longitude\nKBKX,Brookings,44.3\n", "line 2 is not a station"},
        {"id,name,latitude,longitude\nKBKX,\"Brookings,44.3,-96.8\n", "line 2 is not a station"},
        {"id,name,latitude,longitude\nKBKX,B,44.3,-96.8\nKFSD,S,north,-96.7\n",
         "line 3 is not a station"},
        // An id names files: only the four letters or digits --stations takes.
        {"id,name,latitude,longitude\nKBKX,B,44.3,-96.8\n../ev,E,1,2\n",
         "line 3: the id \"../ev\" is not a station id (four letters or digits)"},
        {"id,name,latitude,longitude\nKBK,B,44.3,-96.8\n",
         "line 2: the id \"KBK\" is not a station id (four letters or digits)"},
        {"id,name,latitude,longitude\nKBKXX,B,44.3,-96.8\n",
         "line 2: the id \"KBKXX\" is not a station id (four letters or digits)"},
        {"id,name,latitude,longitude\n\"K/BX\",B,44.3,-96.8\n",
         "line 2: the id \"K/BX\" is not a station id (four letters or digits)"},
        {"id,name,latitude,longitude\nKBKX,B,90.0001,-96.8\n",
         "line 2: the latitude 90.0001 lies outside -90 to 90"},
        {"id,name,latitude,longitude\nKBKX,B,-99999,0\n",
         "line 2: the latitude -99999 lies outside -90 to 90"},
        {"id,name,latitude,longitude\nKBKX,B,44.3,180.5\n",
         "line 2: the longitude 180.5 lies outside -180 to 180"},
        {"id,name,latitude,longitude\nKBKX,B,44.3,-181\n",
         "line 2: the longitude -181 lies outside -180 to 180"},
    };
    for (const auto& [text, expected] : texts) {
        ScanFile in;
        openScanText(in, text);
        std::vector<StationPlace> table;
        std::string problem;
        EXPECT_FALSE(readStationTable(in, table, problem)) << text;
        EXPECT_EQ(problem, expected);
    }
}

TEST(StationTable, ALineTooLongIsRefusedWithoutKeepingOrReadingIt) {
    // The first line over the bound, wherever it lies; a line of exactly the bound is read.
    // The refusal comes right past the bound, however long the line runs on.
    const std::string header = "id,name,latitude,longitude\n";
    const std::string longest = "KBKX," + std::string(maxStationLineLength - 9, 'n') + ",1,2\n";
    ASSERT_EQ(longest.size(), maxStationLineLength + 1);
    const std::string texts[] = {
        std::string(maxStationLineLength + 1, 'i') + "\n",
        header + longest + "KFSD," + std::string(4 * maxStationLineLength, 'n') + ",1,2\n",
        header + std::string(64 * 1024 * 1024, ','),
    };
    const char* const expected[] = {"line 1 is longer than 1024 characters",
                                    "line 3 is longer than 1024 characters",
                                    "line 2 is longer than 1024 characters"};
    const std::uint64_t lineStarts[] = {0, header.size() + longest.size(), header.size()};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        ScanFile in;
        openScanText(in, texts[i]);
        std::vector<StationPlace> table;
        std::string problem;
        EXPECT_FALSE(readStationTable(in, table, problem)) << i;
        EXPECT_EQ(problem, expected[i]);
        // At most the kept bytes and the line feed right after them were read.
        EXPECT_LE(scanOffset(in), lineStarts[i] + maxStationLineLength + 2) << i;
    }
}

TEST(StationTable, DecimalsAreWhatAForecasterTypes) {
    double value = 0.0;
    EXPECT_TRUE(readDecimal("-97.22", value));
    EXPECT_EQ(value, -97.22);
    EXPECT_TRUE(readDecimal("+.5", value));
    EXPECT_EQ(value, 0.5);
    EXPECT_TRUE(readDecimal("7.", value));
    EXPECT_EQ(value, 7.0);
    for (const char* text :
         {"", "-", ".", "1e3", "1.2.3", " 1", "1 ", "nan", "inf", "0x1", "--1"}) {
        EXPECT_FALSE(readDecimal(text, value)) << text;
    }
}

TEST(StationTable, FoundBesideTheProgramThenInShareOrOnlyWhereWxguideDataSays) {
    using std::filesystem::path;
    EXPECT_EQ(stationTablePlaces(path("/usr/bin/wxguide"), ""),
              (std::vector<path>{path("/usr/bin/stations.csv"),
                                 path("/usr/bin/../share/wxguide/stations.csv")}));
    EXPECT_EQ(stationTablePlaces(path("/usr/bin/wxguide"), "/srv/tables"),
              (std::vector<path>{path("/srv/tables/stations.csv")}));
    EXPECT_TRUE(stationTablePlaces(path(), "").empty());
}

// The shipped table's zones at the places where a zone line or a state's own rule decides
// it, against the longitude / 15 that verify would fall back to.
TEST(StationTable, TheShippedTableGivesEachStationItsStandardTime) {
    std::ifstream file(WXGUIDE_STATION_TABLE, std::ios::binary);
    ASSERT_TRUE(file) << WXGUIDE_STATION_TABLE;
    std::stringstream read;
    read << file.rdbuf();
    const std::string text = read.str();  // the scanner reads it in place
    ScanFile in;
    openScanText(in, text);
    std::vector<StationPlace> table;
    std::string problem;
    ASSERT_TRUE(readStationTable(in, table, problem)) << problem;
    ASSERT_EQ(table.size(), 5634U);
    const std::optional<int> none;
    const std::pair<const char*, std::optional<int>> expected[] = {
        // One zone a state; Arizona keeps standard time all year.
        {"KDSM", -6},
        {"KFSD", -6},
        {"KPHX", -7},
        {"KLAS", -8},
        {"KBOI", -7},
        // Texas west of the Pecos country, the Florida panhandle, Michigan's Upper Peninsula.
        {"KELP", -7},
        {"KAAF", -5},
        {"KMAI", -6},
        {"KPNS", -6},
        {"KTLH", -5},
        {"KDTW", -5},
        {"KIWD", -6},
        {"KCMX", -5},
        // Indiana's corners, Kentucky and Tennessee.
        {"KIND", -5},
        {"KEVV", -6},
        {"KHNB", -5},
        {"KGYY", -6},
        {"KSDF", -5},
        {"KBWG", -6},
        {"KCHA", -5},
        {"KCSV", -6},
        // The plains split by county lines; north Idaho and Malheur county.
        {"KDIK", -7},
        {"KHZE", -6},
        {"KBIS", -6},
        {"KRAP", -7},
        {"KPIR", -6},
        {"KGLD", -7},
        {"KSYF", -6},
        {"KCOE", -8},
        {"KONO", -7},
        {"KBKE", -8},
        // Alaska: the western Aleutians (Shemya east of the date line), not the Pribilofs.
        {"PANC", -9},
        {"PADK", -10},
        {"PASY", -10},
        {"PASN", -9},
        // Hawaii and Midway, the territories, Wake, and a name without a state.
        {"PHNL", -10},
        {"PMDY", -11},
        {"TJSJ", -4},
        {"TIST", -4},
        {"PGUM", 10},
        {"PWAK", 12},
        {"NSTU", -11},
        {"KU55", -7},
        // Canada by province; Newfoundland's half hour and places unsure are left empty.
        {"CYYC", -7},
        {"CYQT", -5},
        {"CYQM", -4},
        {"CYXY", -7},
        {"CYYR", -4},
        {"CYYT", none},
        {"MMMX", none},
        {"EGLL", none},
        {"KVOA", none}};
    for (const auto& [id, offset] : expected) {
        const StationPlace* place = findStation(table, id);
        ASSERT_NE(place, nullptr) << id;
        EXPECT_EQ(place->utcOffset, offset) << id;
    }
}
