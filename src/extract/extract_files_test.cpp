#include "extract/extract_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "io/platform.h"
#include "test_support.h"

namespace {

constexpr const char* monthWords[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

}  // namespace

// The run title of a profile and of a GRIB2 file name the same month, every month of the
// year, on and off the hour.
TEST(ExtractFiles, RunTitleOfEveryMonthFromAProfileAndFromGrib2) {
    for (int month = 1; month <= 12; ++month) {
        char time[16];
        std::snprintf(time, sizeof time, "21%02d07/0600", month);
        std::int64_t minute = 0;
        ASSERT_TRUE(readProfileTime(time, minute)) << time;
        const std::string expected = std::string("RUN 06Z 07 ") + monthWords[month - 1] + " 2021";
        EXPECT_EQ(runTitle(profileTimeOf(minute)), expected) << time;
        EXPECT_EQ(runTitle(runTimeOf(2021'00'07'06LL + month * 10000LL)), expected) << month;
    }
    EXPECT_EQ(runTitle(ProfileTime{2021, 3, 11, 13, 30}), "RUN 1330Z 11 MAR 2021");
    EXPECT_EQ(runTitle(runTimeOf(2022062700)), "RUN 00Z 27 JUN 2022");
    // A month no calendar has wraps round instead of reading past the names.
    EXPECT_EQ(runTitle(runTimeOf(2022000112)), "RUN 12Z 01 DEC 2022");
    EXPECT_EQ(runTitle(runTimeOf(2022130112)), "RUN 12Z 01 JAN 2022");
}

TEST(ExtractFiles, PlacesModelsAndStationsOfTheTitles) {
    EXPECT_EQ(placeTitle(41.534, -93.653), "41.53N 93.65W");
    EXPECT_EQ(placeTitle(-33.9, 151.2), "33.90S 151.20E");
    EXPECT_EQ(placeTitle(0.0, 0.0), "0.00N 0.00E");

    struct Case {
        const char* fileName;
        const char* stationId;
        const char* stationNumber;
        const char* model;
        const char* titleStation;
        const char* noteStation;
    };
    const Case cases[] = {
        {"gfs3_kdsm.buf", "", "725460", "GFS", "STATION 725460", "station 725460"},
        {"data/hrrr_kdsm.buf", "KDSM", "725460", "HRRR", "STATION KDSM 725460", "KDSM (725460)"},
        {"kdsm.buf", "KDSM", "", "BUFKIT", "STATION KDSM", "KDSM"},
        {"nam_x.buf", "FHR", "a-b", "NAM", "STATION", "station"},
        {"42_x.buf", "", "", "BUFKIT", "STATION", "station"},
    };
    for (const Case& c : cases) {
        BufkitProfile profile;
        ProfileBlock& block = profile.blocks.emplace_back();
        block.stationId = c.stationId;
        block.stationNumber = c.stationNumber;
        block.latitude = 41.53;
        block.longitude = -93.65;
        block.elevation = 294.0;
        const ProfileTitle title = profileTitle(profile, c.fileName);
        EXPECT_EQ(title.model, c.model) << c.fileName;
        EXPECT_EQ(title.station, c.titleStation) << c.fileName;
        EXPECT_EQ(title.place, "41.53N 93.65W 294 M") << c.fileName;
        EXPECT_EQ(title.run, "RUN 00Z 01 JAN 2000") << c.fileName;
        EXPECT_EQ(noteStation(block), c.noteStation) << c.fileName;
    }
    BufkitProfile placeless;
    placeless.blocks.emplace_back().elevation = 3.0;
    EXPECT_EQ(profileTitle(placeless, "x.buf").place, "3 M");
    placeless.blocks.front().elevation = missingValue;
    EXPECT_EQ(profileTitle(placeless, "x.buf").place, "");
}

// No number is ever cut or written as inf or nan, however absurd.
TEST(ExtractFiles, ValuesWrittenWholeOrMissing) {
    EXPECT_EQ(formatValue(std::numeric_limits<double>::infinity(), 0, 5), " -9999");
    EXPECT_EQ(formatValue(std::nan(""), 1, 7), "  -9999");
    const std::string huge = formatValue(1.7e308, 0, 5);
    EXPECT_EQ(huge.size(), 310u);  // a blank and all 309 digits
    EXPECT_EQ(huge.substr(0, 4), " 169");
    EXPECT_EQ(formatValue(-1e80, 2, 6).size(), 86u);  // a blank, the sign, 81 digits, .00
    EXPECT_EQ(formatValue(-0.0, 0, 3), "  0");
}

TEST(ExtractFiles, NotesNameTheFieldsAndTheLevelsBelowTheGround) {
    struct Case {
        std::vector<std::string> missing;
        std::vector<std::string> below;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{}, {}, {}},
        {{"wind speed"},
         {},
         {"c.txt: wind speed is written as -9999 where the profile does not give it; the "
          "model's GRIB2 output gives them"}},
        {{"a", "b", "c"},
         {"1000 mb in 3 of 4 hours"},
         {"c.txt: a, b and c are written as -9999 where the profile does not give them; the "
          "model's GRIB2 output gives them",
          "c.txt: at KDSM this level lies below the ground: 1000 mb in 3 of 4 hours; M"}},
        {{},
         {"900 mb in 1 of 1 hour", "500 mb in 1 of 1 hour"},
         {"c.txt: at KDSM these levels lie below the ground: 900 mb in 1 of 1 hour and 500 mb "
          "in 1 of 1 hour; M"}},
    };
    for (const Case& c : cases) {
        const FileNotes notes{"c.txt", c.missing, c.below, "KDSM", "M"};
        EXPECT_EQ(noteLines(notes), c.lines);
    }
}

TEST(ExtractFiles, FileTextsTitleAndRows) {
    ProfileTables tables;
    ColumnRow& column = tables.columns.emplace_back();
    column.hour = 3;
    column.values = {1007.46, -0.04, 1, 2, 3, 5476.4, 81, 0.125, 100, 0, missingValue};
    SevereRow& severe = tables.severe.emplace_back();
    severe.hour = 3;
    severe.values = {missingValue, 13.8, -12, 0, 283.54, 43, 77, 99, -5, 7};
    const ProfileTitle title{"GFS", "STATION KDSM", "41.53N 93.65W", "RUN 00Z 11 MAR 2021",
                             "FROM X"};
    EXPECT_EQ(columnFileText(tables, title, 3),
              "MODEL COLUMN FORECAST   GFS   STATION KDSM   41.53N 93.65W\n"
              "RUN 00Z 11 MAR 2021   FORECAST HOURS 3 TO 3 EVERY 3 H   FROM X\n"
              "PMSL MB  T2M T850 T700 T500 C  THICK 1000-500 MB M  RH %  PCP MM  CLD %  WDIR DEG  "
              "WSPD KT\nFHR\n"
              "|    3 | 1007.5   0.0   1.0   2.0   3.0  5476   81   0.12  100    0 -9999\n");
    EXPECT_EQ(severeFileText(tables, title, 3),
              "SEVERE WEATHER PARAMETERS   GFS   STATION KDSM   41.53N 93.65W\n"
              "RUN 00Z 11 MAR 2021   FORECAST HOURS 3 TO 3 EVERY 3 H   FROM X\n"
              "BEST 4-LAYER LI, LI C  CIN CAPE J/KG  THETA K  WIND 900/500/250 MB KT  LATENT "
              "SENSIBLE HEAT W/M2\nFHR\n"
              "|    3 | -9999  13.8   -12     0  283.5   43   77   99    -5     7\n");
    EXPECT_NE(columnFileText(ProfileTables{}, title, 6).find("   NO FORECAST HOURS   "),
              std::string::npos);
}

namespace {

long failedWrite(int, const char*, std::size_t) {
    return -1;
}

int writes = 0;
long secondWriteFails(int descriptor, const char* data, std::size_t size) {
    return ++writes == 2 ? -1 : systemReportCalls().write(descriptor, data, size);
}

}  // namespace

// Both files or neither: a file that cannot be written leaves the older ones, and says which.
TEST(ExtractFiles, TheWriterPutsBothFilesInPlaceOrSaysWhichNot) {
    const struct {
        const char* what;
        long (*write)(int, const char*, std::size_t);
        const char* columns;
        const char* severe;
        const char* told;
    } cases[] = {
        {"both written", nullptr, "C", "S", ""},
        {"first fails", failedWrite, "old", "old",
         "wxguide extract: c.txt could not be written; nothing was.\n"},
        {"second fails", secondWriteFails, "C", "old",
         "wxguide extract: s.txt could not be written; c.txt was.\n"},
    };
    for (const auto& c : cases) {
        ScopedTempDirectory dir;
        writeFile("c.txt", "old");
        writeFile("s.txt", "old");
        const ReportCalls system = systemReportCalls();
        reportCalls().write = c.write != nullptr ? c.write : system.write;
        writes = 0;
        std::ostringstream err;
        const bool written = writeExtractFiles({"c.txt", "C", "s.txt", "S"}, err);
        reportCalls() = system;
        EXPECT_EQ(written, c.write == nullptr) << c.what;
        EXPECT_EQ(err.str(), c.told) << c.what;
        EXPECT_EQ(readFile("c.txt"), c.columns) << c.what;
        EXPECT_EQ(readFile("s.txt"), c.severe) << c.what;
        EXPECT_EQ(entriesIn("."), 2) << c.what;
    }
    ScopedTempDirectory dir;
    std::filesystem::create_directory("s.txt");
    std::ostringstream err;
    EXPECT_FALSE(writeExtractFiles({"c.txt", "C", "s.txt", "S"}, err));
    EXPECT_EQ(err.str(), "wxguide extract: s.txt is not a plain file; nothing was written.\n");
    EXPECT_FALSE(std::filesystem::exists("c.txt"));
}

TEST(ExtractFiles, FinishingTellsTheNotesOnlyOnceTheFilesAreWritten) {
    const ExtractOutput output{{"c.txt", "C", "s.txt", "S"}, {"one", "two"}, "Wrote both.\n"};
    for (const bool writerSucceeds : {true, false}) {
        ExtractFiles seen;
        const ExtractFilesWriter writer = [&](const ExtractFiles& files, std::ostream& err) {
            seen = files;
            err << (writerSucceeds ? "" : "told by the writer\n");
            return writerSucceeds;
        };
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(finishExtract(output, writer, out, err), writerSucceeds ? 0 : 1);
        EXPECT_EQ(seen.severeText, "S");
        EXPECT_EQ(out.str(), writerSucceeds ? "Wrote both.\n" : "");
        EXPECT_EQ(err.str(), writerSucceeds ? "wxguide extract: one.\nwxguide extract: two.\n"
                                            : "told by the writer\n");
    }
    std::ostringstream err;
    EXPECT_EQ(refuseSharedOutputName("a.txt", "b.txt", err), std::nullopt);
    EXPECT_EQ(refuseSharedOutputName("a.txt", "a.txt", err), 2);
    EXPECT_EQ(err.str(),
              "wxguide extract: the column file and the severe file need two names, not a.txt "
              "twice\nTry 'wxguide --help'.\n");
}
