#include "extract/bufkit_extract.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "test_support.h"

namespace {

// A profile of two blocks (STIM 0 and 3): the surface row of hour 3 carries `hour3`
// (PMSL PRES T2MS TD2M UWND VWND LCLD).
std::string profileText(const std::string& hour3 = "1002.3 968.4 15.0 5.5 3.0 -4.0 20") {
    std::string text = "SNPARM = PRES;TMPC;HGHT;DRCT;SKNT\nSTNPRM = LIFT;CAPE;CINS\n";
    for (const char* hour : {"0", "3"}) {
        text += std::string("STID = KXYZ STNM = 725460 TIME = 210311/0") + hour + "00\n";
        text += "SLAT = 41.53 SLON = -93.65 SELV = 294.0\nSTIM = " + std::string(hour) + "\n";
        text += "LIFT = 6.17 CAPE = 12.00 CINS = -3.00\nPRES TMPC HGHT DRCT SKNT\n";
        text += "1010.0 10.0 100.0 180.0 10.0\n850.0 2.0 1500.0 200.0 20.0\n";
        text += "700.0 -5.0 3000.0 250.0 30.0\n500.0 -20.0 5600.0 270.0 40.0\n";
        text += "250.0 -50.0 10400.0 270.0 90.0\n";
    }
    text += "STN YYMMDD/HHMM PMSL PRES T2MS TD2M UWND VWND LCLD\n";
    text += "725460 210311/0000 1001.3 967.4 17.0 6.5 1.0 1.0 10\n";
    text += "725460 210311/0300 " + hour3 + "\n";
    return text;
}

// An hourly profile from hour 0 to `lastHour`, one level block and one surface row an hour.
std::string hourlyProfile(int lastHour) {
    std::string text = "SNPARM = PRES;TMPC;HGHT\n";
    std::string surface = "STN YYMMDD/HHMM PMSL PRES T2MS\n";
    for (int hour = 0; hour <= lastHour; ++hour) {
        char time[32];
        std::snprintf(time, sizeof time, "2103%02d/%02d00", 11 + hour / 24, hour % 24);
        text += std::string("STID = KXYZ STNM = 1 TIME = ") + time +
                "\nSTIM = " + std::to_string(hour) +
                "\nPRES TMPC HGHT\n1000 10 100\n500 -20 5600\n";
        surface += std::string("1 ") + time + " 1010 1000 10\n";
    }
    return text + surface;
}

struct ExtractRun {
    int status = 0;
    std::string out;
    std::string err;
    ExtractFiles written;
    bool writerCalled = false;
};

// Runs the BUFKIT path on `name` with a writer that keeps what it is handed.
ExtractRun runOn(const std::string& name, const ExtractRequest& request,
                 bool writerSucceeds = true) {
    ExtractRun run;
    DataFile data;
    openPlainDataFile(data, name);
    const ExtractFilesWriter writer = [&](const ExtractFiles& files, std::ostream& err) {
        run.written = files;
        run.writerCalled = true;
        err << (writerSucceeds ? "" : "not written\n");
        return writerSucceeds;
    };
    std::ostringstream out;
    std::ostringstream err;
    run.status = runBufkitExtract(request, data, writer, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace

TEST(BufkitExtract, ARowOfEveryStepWithItsNotesAndSummary) {
    ScopedTempDirectory dir;
    writeFile("nam_kxyz.BUF", profileText());
    ExtractRequest request;
    request.profiles = {"nam_kxyz.BUF"};
    const ExtractRun run = runOn("nam_kxyz.BUF", request);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.written.columnsName, "nam_kxyz_columns.txt");
    EXPECT_EQ(run.written.severeName, "nam_kxyz_severe.txt");
    EXPECT_EQ(run.out,
              "Wrote nam_kxyz_columns.txt and nam_kxyz_severe.txt: 1 row, forecast hours 3 to 3 "
              "every 3 hours.\n");
    EXPECT_NE(run.written.columnsText.find("MODEL COLUMN FORECAST   NAM   STATION KXYZ 725460   "
                                           "41.53N 93.65W 294 M\nRUN 00Z 11 MAR 2021"),
              std::string::npos);
    EXPECT_NE(run.written.columnsText.find("|    3 | 1002.3  15.0"), std::string::npos)
        << run.written.columnsText;
    EXPECT_NE(run.err.find("wxguide extract: nam_kxyz_severe.txt: best 4-layer lifted index, "
                           "latent heat flux and sensible heat flux are written as -9999"),
              std::string::npos);
    EXPECT_NE(run.err.find("wxguide extract: only 1 row: options 2 to 5 read 48, 29, 29 and 15 "
                           "rows, option 6 reads 29; a smaller --step gives more.\n"),
              std::string::npos);
}

// The values of the last attack: no inf and no cut number reaches the files, and the
// forecaster is told which field, where, before the rest of the notes.
TEST(BufkitExtract, AbsurdValuesAreWrittenMissingAndNamed) {
    ScopedTempDirectory dir;
    writeFile("gfs_x.buf", profileText("1002.3 968.4 -243.5 5.5 1e200 -4.0 1.7e308"));
    ExtractRequest request;
    request.profiles = {"gfs_x.buf"};
    const ExtractRun run = runOn("gfs_x.buf", request);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.written.columnsText.find("|    3 | 1002.3 -9999"), std::string::npos)
        << run.written.columnsText;
    for (const char* absurd : {"inf", "nan", "1699999", "243"}) {
        EXPECT_EQ(run.written.columnsText.find(absurd), std::string::npos) << absurd;
    }
    EXPECT_EQ(run.err.find("wxguide extract: gfs_x.buf: T2MS -243.5 in the surface row 2 "
                           "(210311/0300) lies outside -150 to 80; it is taken as missing.\n"
                           "wxguide extract: gfs_x.buf: LCLD 1.7e+308"),
              0u)
        << run.err;
}

// Options 2 to 5 read up to 48 rows: fewer are told, with a hint only where a smaller step
// could give more.
TEST(BufkitExtract, FewerRowsThanTheOptionsReadAreTold) {
    ScopedTempDirectory dir;
    const struct {
        int lastHour;
        int step;
        const char* told;
    } cases[] = {
        {48, 1, nullptr},
        {47, 1,
         "wxguide extract: only 47 rows: options 2 to 5 read 48, 29, 29 and 15 rows, option "
         "6 reads 29.\n"},
        {48, 2,
         "wxguide extract: only 24 rows: options 2 to 5 read 48, 29, 29 and 15 rows, option "
         "6 reads 29; a smaller --step gives more.\n"},
    };
    for (const auto& c : cases) {
        writeFile("h.buf", hourlyProfile(c.lastHour));
        ExtractRequest request;
        request.profiles = {"h.buf"};
        request.step = c.step;
        const ExtractRun run = runOn("h.buf", request);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::size_t only = run.err.find("wxguide extract: only");
        if (c.told == nullptr) {
            EXPECT_EQ(only, std::string::npos) << run.err;
        } else {
            ASSERT_NE(only, std::string::npos) << c.lastHour;
            EXPECT_EQ(run.err.substr(only), c.told);  // the last line told
        }
    }
}

TEST(BufkitExtract, RefusalsInTheirOrder) {
    ScopedTempDirectory dir;
    writeFile("p.buf", profileText());
    writeFile("cut.buf", profileText().substr(0, 200));
    struct Case {
        const char* what;
        const char* profile;
        const char* columns;
        const char* severe;
        int step;
        int status;
        const char* told;
    };
    const Case cases[] = {
        {"one name twice before the missing file", "none.buf", "a", "a", 3, 2,
         "wxguide extract: the column file and the severe file need two names, not a twice\n"
         "Try 'wxguide --help'.\n"},
        {"no such file", "none.buf", nullptr, nullptr, 3, 1,
         "wxguide extract: none.buf does not exist; nothing was written.\n"},
        {"a folder", ".", nullptr, nullptr, 3, 1,
         "wxguide extract: . cannot be opened as a plain file; nothing was written.\n"},
        {"the profile as output", "p.buf", "./p.buf", nullptr, 3, 1,
         "wxguide extract: ./p.buf is the profile itself; nothing was written.\n"},
        {"cut short", "cut.buf", nullptr, nullptr, 3, 1,
         "wxguide extract: cut.buf: the profile ends inside block 1 (STIM 0); nothing was "
         "written.\n"},
        {"no hour of the step", "p.buf", nullptr, nullptr, 5, 1,
         "wxguide extract: p.buf holds no forecast hour that is a multiple of 5 from 5 on; "
         "nothing was written.\n"},
    };
    for (const Case& c : cases) {
        ExtractRequest request;
        request.profiles = {c.profile};
        request.step = c.step;
        if (c.columns != nullptr) {
            request.columnsName = c.columns;
        }
        if (c.severe != nullptr) {
            request.severeName = c.severe;
        }
        const ExtractRun run = runOn(c.profile, request);
        EXPECT_EQ(run.status, c.status) << c.what;
        EXPECT_EQ(run.err, c.told) << c.what;
        EXPECT_FALSE(run.writerCalled) << c.what;
        EXPECT_EQ(run.out, "") << c.what;
    }
    // A writer that fails: its own word, no note and no summary.
    ExtractRequest request;
    request.profiles = {"p.buf"};
    request.step = 1;
    const ExtractRun failed = runOn("p.buf", request, false);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "not written\n");
    EXPECT_EQ(failed.out, "");
}
