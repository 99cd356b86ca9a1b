#include "export/spreadsheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "export/run_description.h"
#include "io/platform.h"
#include "tables/missing_values.h"

namespace {

// The records of a written file, each without its line end.
std::vector<std::string> recordsOf(const std::string& text) {
    std::vector<std::string> records;
    const std::string end = crLfLineEnd();
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = text.find(end, at);
        if (next == std::string::npos) {
            records.push_back(text.substr(at) + "<no line end>");
            break;
        }
        records.push_back(text.substr(at, next - at));
        at = next + end.size();
    }
    return records;
}

StationBlendRecords twoStationBlend() {
    StationBlendRecords records;
    records.dataName = "my,bulletins.txt";
    records.date = "12/09/2026";
    records.set = {{"KFSD", "KBKX"}, {0.5, 0.25}};
    records.etaRatio = 0.7;
    records.daily[0] = {40, 55.5, 30, 35, 20, 45};
    records.daily[6] = {41, 60, 31, 36, std::nullopt, 10};  // the extended range: one PoP
    records.cloudWind[0] = {6, 0.25, 27.0, 12.5};
    records.cloudWind[29] = {192, 1, std::nullopt, 8};  // the extended range: no direction
    return records;
}

}  // namespace

TEST(Spreadsheet, EachRunDescribesItselfOnEveryRecord) {
    ModelTableRecords model;
    model.dataName = "gfs.txt";
    model.heading = "GFS  SIOUX FALLS  RUN 12Z 09 DEC";
    model.title = {"GFS", "SIOUX FALLS", "12Z 09 DEC"};
    SevereWeatherRecords severe;
    severe.dataName = "severe.txt";  // a title naming no run
    struct Case {
        const char* name;
        RunDescription run;
        int option;
        std::string runName, dataName, dateOrRun, model, place, stations, weights, ratio;
    };
    const Case cases[] = {
        {"option 1", describeRun(twoStationBlend()), 1, "Run 1200 Model", "my,bulletins.txt",
         "12/09/2026", "", "", "KFSD KBKX", "0.5 0.25", "0.7"},
        {"option 2", describeRun(2, model), 2, "Run Long GFS Model", "gfs.txt", "12Z 09 DEC", "GFS",
         "SIOUX FALLS", "", "", ""},
        {"option 3", describeRun(3, model), 3, "Run Short GFS Model", "gfs.txt", "12Z 09 DEC",
         "GFS", "SIOUX FALLS", "", "", ""},
        {"option 4", describeRun(4, model), 4, "Run Long ETA Model", "gfs.txt", "12Z 09 DEC", "GFS",
         "SIOUX FALLS", "", "", ""},
        {"option 5", describeRun(5, model), 5, "Run Long AVN Model", "gfs.txt", "12Z 09 DEC", "GFS",
         "SIOUX FALLS", "", "", ""},
        {"option 6", describeRun(severe), 6, "Run Severe Weather Model", "severe.txt",
         "run not given", "", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.run.option, c.option);
        EXPECT_EQ(c.run.runName, c.runName);
        EXPECT_EQ(c.run.dataName, c.dataName);
        EXPECT_EQ(c.run.dateOrRun, c.dateOrRun);
        EXPECT_EQ(c.run.model, c.model);
        EXPECT_EQ(c.run.place, c.place);
        EXPECT_EQ(c.run.stations, c.stations);
        EXPECT_EQ(c.run.weights, c.weights);
        EXPECT_EQ(c.run.ratio, c.ratio);
    }
    EXPECT_EQ(describeRun(2, model).heading, model.heading);
}

TEST(Spreadsheet, RecordsHoldTheReportsValuesWithEmptyCellsForMissingOnes) {
    ModelTableRecords model;
    model.dataName = "gfs.txt";
    model.title.run = "12Z 09 DEC";
    model.rowCount = 2;
    model.rows[0] = {6, 29.92, 50.5, 40, 30, 10, 5400, 80, 0.1, 0.5, 270, 11.5};
    model.rows[1] = {12, 29.8, 48, 39, 29, 9, 5390, 85, 0.25, 1, 305, 9};
    model.fileRows = model.rows;
    model.fileRows[1].pressure = missingValue;  // an empty cell
    model.fileRows[1].humidity = missingValue;  // and no band
    model.fileRows[1].windDir = missingValue;   // in degrees and in tens
    model.adjustment[0] = 1.5;
    model.upperBand[0] = 53;
    model.lowerBand[0] = 48;
    model.adjustment[1] = 2;

    SevereWeatherRecords severe;
    severe.dataName = "severe.txt";
    severe.title.run = "00Z";
    severe.rowCount = 1;
    severe.rows[0] = {0, -2.5, 1, -50, 1200.75, 60.5, 20, 45, 90, 3, 4};
    severe.fileRows = severe.rows;
    severe.fileRows[0].kntc500 = missingValue;

    const StationBlendRecords blend = twoStationBlend();
    const std::string blendRun = "1,\"my,bulletins.txt\",12/09/2026,KFSD KBKX,0.5 0.25,0.7,";
    const std::string tableHead = "run,data_file,date_or_model_run,stations,weights,ratio,";

    struct Case {
        const char* name;
        std::function<void(std::ostream&)> write;
        std::size_t records;  // the header and one a row
        std::vector<std::pair<std::size_t, std::string>> expected;
    };
    const Case cases[] = {
        {"option 3",
         [&](std::ostream& out) { writeModelCsv(out, describeRun(3, model), model); },
         3,
         {{0, tableHead +
                  "hour,pressure_inhg,temp_2m_f,temp_850mb_f,temp_700mb_f,temp_500mb_f,thickness,"
                  "humidity_pct,precip_in,cloud_cover,wind_dir_deg,wind_dir_tens,wind_speed_mph,"
                  "adj_f,upper_band_f,lower_band_f"},
          {1,
           "3,gfs.txt,12Z 09 DEC,,,,6,29.92,50.5,40,30,10,5400,80,0.1,0.5,270,27,11.5,1.5,53,48"},
          {2, "3,gfs.txt,12Z 09 DEC,,,,12,,48,39,29,9,5390,,0.25,1,,,9,,,"}}},
        {"option 6",
         [&](std::ostream& out) { writeSevereCsv(out, describeRun(severe), severe); },
         2,
         {{0, tableHead + "hour,best_4lyr_lnde,lift_index,cnv_inhib,cnv_avbl,pot_temp_f,"
                          "kntc_900mb,kntc_500mb,kntc_250mb,lat_heat,sans_heat"},
          {1, "6,severe.txt,00Z,,,,0,-2.5,1,-50,1200.75,60.5,20,,90,3,4"}}},
        {"option 1 by day",
         [&](std::ostream& out) { writeBlendDailyCsv(out, describeRun(blend), blend); },
         8,
         {{0, tableHead + "day,low_temp,high_temp,low_dpt,high_dpt,low_prob_prec,high_prob_prec"},
          {1, blendRun + "1,40,55.5,30,35,20,45"},
          {2, blendRun + "2,0,0,0,0,,0"},
          {7, blendRun + "7,41,60,31,36,,10"}}},
        {"option 1 by hour",
         [&](std::ostream& out) { writeBlendHourlyCsv(out, describeRun(blend), blend); },
         31,
         {{0, tableHead + "hour,cloud_cover,wind_dir_tens,wind_dir_deg,wind_speed_mph"},
          {1, blendRun + "6,0.25,27,270,12.5"},
          {30, blendRun + "192,1,,,8"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out;
        c.write(out);
        const std::vector<std::string> records = recordsOf(out.str());
        ASSERT_EQ(records.size(), c.records);
        for (const auto& [index, record] : c.expected) {
            EXPECT_EQ(records[index], record) << "record " << index;
        }
    }
}
