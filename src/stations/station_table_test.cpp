#include "stations/station_table.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(StationTable, ReadsQuotedNamesAndDegrees) {
    std::istringstream in(
        "id,name,latitude,longitude\n"
        "KBKX,\"Brookings, Brookings Municipal Airport, SD, United States\",44.300002,-96.816666\n"
        "LIBF,\"Foggia \"\"Gino Lisa\"\" Airport, Foggia, 75, IT\",41.432899,15.535000\r\n"
        "NZSP,Amundsen-Scott,-90.000000,0\n");
    std::vector<StationPlace> table;
    std::string problem;
    ASSERT_TRUE(readStationTable(in, table, problem)) << problem;
    ASSERT_EQ(table.size(), 3U);
    EXPECT_EQ(table[0].name, "Brookings, Brookings Municipal Airport, SD, United States");
    EXPECT_EQ(table[0].latitude, 44.300002);
    EXPECT_EQ(table[0].longitude, -96.816666);
    EXPECT_EQ(table[1].name, "Foggia \"Gino Lisa\" Airport, Foggia, 75, IT");
    EXPECT_EQ(table[1].longitude, 15.535);
    EXPECT_EQ(table[2].latitude, -90.0);
    EXPECT_EQ(findStation(table, "LIBF"), &table[1]);
    EXPECT_EQ(findStation(table, "KFSD"), nullptr);
}

TEST(StationTable, ALineThatIsNoStationIsNamed) {
    const char* const texts[][2] = {
        {"", "it is empty"},
        {"station,lat,lon\n", "line 1 is not \"id,name,latitude,longitude\""},
        {"id,name,latitude,longitude\nKBKX,Brookings,44.3\n", "line 2 is not a station"},
        {"id,name,latitude,longitude\nKBKX,\"Brookings,44.3,-96.8\n", "line 2 is not a station"},
        {"id,name,latitude,longitude\nKBKX,B,44.3,-96.8\nKFSD,S,north,-96.7\n",
         "line 3 is not a station"},
    };
    for (const auto& [text, expected] : texts) {
        std::istringstream in(text);
        std::vector<StationPlace> table;
        std::string problem;
        EXPECT_FALSE(readStationTable(in, table, problem)) << text;
        EXPECT_EQ(problem, expected);
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

TEST(StationTable, FoundBesideTheProgramOrWhereWxguideDataSays) {
    using std::filesystem::path;
    EXPECT_EQ(stationTablePlaces(path("/usr/bin/wxguide"), ""),
              (std::vector<path>{path("/usr/bin/../share/wxguide/stations.csv"),
                                 path("/usr/bin/stations.csv")}));
    EXPECT_EQ(stationTablePlaces(path("/usr/bin/wxguide"), "/srv/tables"),
              (std::vector<path>{path("/srv/tables/stations.csv")}));
    EXPECT_TRUE(stationTablePlaces(path(), "").empty());
}
