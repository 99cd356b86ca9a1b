#include "stations/stations_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

TEST(StationsCommand, TheTableIsReadWholeOrRefusedWithItsLineNamed) {
    ScopedTempDirectory folder;
    std::filesystem::create_directory("data");
    const StationTableSearch search{folder.path / "no-program", (folder.path / "data").string()};
    const std::string table = (folder.path / "data" / "stations.csv").string();
    const std::string head = "id,name,latitude,longitude\n";
    struct Case {
        const char* name;
        std::string text;  // empty: no table at all
        std::string err;
        std::string listed;  // the two nearest stations to 44.03,-97.22, as listed
    };
    const Case cases[] = {
        {"a table",
         head + "KFSD,\"Sioux Falls\",43.58,-96.74\nKBKX,Brookings,44.3,-96.8\nKXYZ,Far,10,10\n",
         "",
         "KBKX  0.5839789       45.0 km  Brookings\n"
         "KFSD  0.4160211       63.1 km  Sioux Falls\n"},
        {"an empty id", head + "KFSD,\"Sioux Falls\",43.58,-96.74\n,Nowhere,44.0,-97.2\n",
         "wxguide: the station table " + table + " cannot be read: line 3 is not a station\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(table, c.text);
        std::vector<StationPlace> places;
        std::ostringstream err;
        const bool loaded = loadTable(search, places, err);
        EXPECT_EQ(err.str(), c.err);
        EXPECT_EQ(loaded, c.err.empty());
        if (!loaded) {
            continue;
        }
        std::ostringstream out;
        EXPECT_EQ(writeStationList(nearestListedSet(places, {44.03, -97.22}, 2), out), 0);
        EXPECT_EQ(out.str(), c.listed);
    }
}
