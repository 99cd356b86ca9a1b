#include "tables/table_title.h"

#include <gtest/gtest.h>

TEST(TableTitle, TheRunModelAndPlaceWhereverTheTitleLinesSayThem) {
    const struct {
        std::vector<std::string> lines;
        TableTitle title;
    } cases[] = {
        // What extract writes: the run on the second line.
        {{"MODEL COLUMN FORECAST   GFS   STATION 725460   41.53N 93.65W 294 M",
          "RUN 00Z 11 MAR 2021   FORECAST HOURS 3 TO 180 EVERY 3 H   FROM A BUFKIT PROFILE",
          "PMSL MB  T2M"},
         {"GFS", "STATION 725460, 41.53N 93.65W 294 M", "00Z 11 MAR 2021"}},
        // The run at the end of the first line.
        {{"GFS MODEL COLUMN FORECAST WITH GAPS   KFSD SIOUX FALLS SD   RUN 12Z 14 MAY 2024"},
         {"GFS", "KFSD SIOUX FALLS SD", "12Z 14 MAY 2024"}},
        // Only the first line that carries RUN counts; a word holding RUN is no RUN.
        {{"HRRR\tKDSM", "RUNS 5", "RUN 13Z 11 MAR 2021", "RUN 14Z 11 MAR 2021"},
         {"HRRR", "KDSM", "13Z 11 MAR 2021"}},
        // A file written on Windows: each line ends in a CR, which parts nothing.
        {{"MODEL COLUMN FORECAST   GFS   STATION 725460   41.53N 93.65W 294 M\r",
          "RUN 00Z 11 MAR 2021   FORECAST HOURS 3 TO 180 EVERY 3 H\r"},
         {"GFS", "STATION 725460, 41.53N 93.65W 294 M", "00Z 11 MAR 2021"}},
        {{"SOME TABLE"}, {"", "", ""}},
        {{}, {"", "", ""}},
    };
    for (const auto& c : cases) {
        const TableTitle title = titleOfLines(c.lines);
        const std::string first = c.lines.empty() ? "" : c.lines.front();
        EXPECT_EQ(title.run, c.title.run) << first;
        EXPECT_EQ(title.model, c.title.model) << first;
        EXPECT_EQ(title.place, c.title.place) << first;
    }
}
