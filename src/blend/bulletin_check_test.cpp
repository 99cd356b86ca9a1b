#include "blend/bulletin_check.h"

#include <gtest/gtest.h>

#include "bulletin_text.h"
#include "test_support.h"

namespace {

bool checkText(const std::string& text) {
    ScopedTempDirectory dir;
    writeFile("bulletins.txt", text);
    DataFile data;
    openPlainDataFile(data, "bulletins.txt");
    return checkBulletinFile(data);
}

bool checkBulletins(const std::vector<TestBulletin>& bulletins) {
    return checkText(testBulletinText(bulletins));
}

// A header in the test file's layout for bulletin 0-11 with some words changed.
void setHeader(std::vector<TestBulletin>& bulletins, int bulletin, const std::string& model,
               const std::string& date, const std::string& run) {
    bulletins[static_cast<std::size_t>(bulletin)].header =
        testHeader(testStations[bulletin % 4], model, date, run);
}

}  // namespace

TEST(BulletinCheck, AcceptsTwelveBulletinsInOrderWithBlankSpaceBefore) {
    const std::string text = testBulletinText(validTestBulletins());
    EXPECT_TRUE(checkText(text));
    EXPECT_TRUE(checkText("\n\n   \t" + text));
}

TEST(BulletinCheck, RefusesAnythingButKbkxAsTheFirstWord) {
    const std::string text = testBulletinText(validTestBulletins());
    EXPECT_FALSE(checkText("Guidance\n" + text));
    EXPECT_FALSE(checkText("kbkx" + text.substr(5)));
    EXPECT_FALSE(checkText(""));

    // The AVN bulletin of KBKX first: its model is no ETA.
    std::vector<TestBulletin> bulletins = validTestBulletins();
    bulletins.erase(bulletins.begin(), bulletins.begin() + 4);
    EXPECT_FALSE(checkBulletins(bulletins));
}

TEST(BulletinCheck, MissingFileIsInvalid) {
    ScopedTempDirectory dir;
    DataFile data;
    EXPECT_FALSE(openPlainDataFile(data, "missing.txt"));
    EXPECT_FALSE(checkBulletinFile(data));
}

TEST(BulletinCheck, StationsOutOfOrderWithinAGroupAreInvalid) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    std::swap(bulletins[1], bulletins[2]);  // ETA KMHE before ETA KHON
    EXPECT_FALSE(checkBulletins(bulletins));

    bulletins = validTestBulletins();
    std::swap(bulletins[8], bulletins[11]);  // MRF KFSD first
    EXPECT_FALSE(checkBulletins(bulletins));
}

TEST(BulletinCheck, EveryDateMustBeWrittenAsTheFirst) {
    for (int bulletin = 1; bulletin < 12; ++bulletin) {
        std::vector<TestBulletin> bulletins = validTestBulletins();
        const char* model = bulletin < 4 ? "ETA" : bulletin < 8 ? "AVN" : "MRF";
        const char* run = bulletin < 8 ? "1200" : "0000";
        setHeader(bulletins, bulletin, model, "12/09/2026", run);
        EXPECT_FALSE(checkBulletins(bulletins)) << "bulletin " << bulletin + 1;
        setHeader(bulletins, bulletin, model, "12/8/2026", run);  // the same day, rewritten
        EXPECT_FALSE(checkBulletins(bulletins)) << "bulletin " << bulletin + 1;
    }
    // Any word serves as the date, as long as all twelve agree.
    std::vector<TestBulletin> bulletins = validTestBulletins();
    for (int bulletin = 0; bulletin < 12; ++bulletin) {
        setHeader(bulletins, bulletin,
                  bulletin < 4   ? "ETA"
                  : bulletin < 8 ? "GFS"
                                 : "GFSX",
                  "today", bulletin < 8 ? "1200" : "0000");
    }
    EXPECT_TRUE(checkBulletins(bulletins));
}

TEST(BulletinCheck, AcceptsGfsAndGfsxInAnyMixture) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    setHeader(bulletins, 5, "GFS", "12/08/2026", "1200");
    setHeader(bulletins, 7, "GFS", "12/08/2026", "1200");
    setHeader(bulletins, 8, "GFSX", "12/08/2026", "0000");
    setHeader(bulletins, 10, "GFSX", "12/08/2026", "0000");
    EXPECT_TRUE(checkBulletins(bulletins));
}

TEST(BulletinCheck, AcceptsNamBesideEtaOnlyInTheFirstGroup) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    setHeader(bulletins, 0, "NAM", "12/08/2026", "1200");
    setHeader(bulletins, 2, "NAM", "12/08/2026", "1200");
    EXPECT_TRUE(checkBulletins(bulletins));
    for (int bulletin : {0, 3}) {
        bulletins = validTestBulletins();
        setHeader(bulletins, bulletin, "nam", "12/08/2026", "1200");
        EXPECT_FALSE(checkBulletins(bulletins));
    }
    for (int bulletin : {4, 9}) {
        bulletins = validTestBulletins();
        setHeader(bulletins, bulletin, "NAM", "12/08/2026", bulletin < 8 ? "1200" : "0000");
        EXPECT_FALSE(checkBulletins(bulletins));
    }
}

TEST(BulletinCheck, BlendHeadersOnlyAsNbs1200InTheFirstGroup) {
    struct Case {
        int bulletin;
        std::string header;
        bool valid;
    };
    const Case cases[] = {
        {0, "\x1eKBKX    NBM V5.0 NBS GUIDANCE   12/08/2026  1200 UTC", true},
        {2, "KMHE    NBM V4.0 NBS GUIDANCE   12/08/2026  1200 UTC", true},
        {3, "KFSD    NBM NBS GUIDANCE   12/08/2026  1200 UTC", true},  // no version word
        {1, "KHON    NBM V5.0 NBE GUIDANCE   12/08/2026  1200 UTC", false},
        {1, "KHON    NBM V5.0 NBH GUIDANCE   12/08/2026  1200 UTC", false},
        {1, "KHON    NBM NBX GUIDANCE   12/08/2026  1200 UTC", false},
        {2, "KMHE    nbm V5.0 NBS GUIDANCE   12/08/2026  1200 UTC", false},
        {2, "KMHE    NBM V5.0 nbs GUIDANCE   12/08/2026  1200 UTC", false},
        {3, "KFSD    NBM V5.0 NBS GUIDANCE   12/08/2026  1500 UTC", false},
        {3, "KFSD    NBM V5.0 NBS GUIDANCE   12/8/2026  1200 UTC", false},
        {4, "KBKX    NBM V5.0 NBS GUIDANCE   12/08/2026  1200 UTC", false},
        {9, "KHON    NBM V5.0 NBS GUIDANCE   12/08/2026  0000 UTC", false},
    };
    for (const Case& c : cases) {
        std::vector<TestBulletin> bulletins = validTestBulletins();
        bulletins[static_cast<std::size_t>(c.bulletin)].header = c.header;
        ScopedTempDirectory dir;
        writeFile("bulletins.txt", testBulletinText(bulletins));
        DataFile data;
        openPlainDataFile(data, "bulletins.txt");
        BulletinVerdict verdict;
        BulletinFileBounds bounds;
        EXPECT_EQ(checkBulletinFile(data, verdict, bounds), c.valid) << c.header;
        if (!c.valid) {
            EXPECT_EQ(verdict.bulletin, c.bulletin) << c.header;
        } else {
            EXPECT_TRUE(bounds[static_cast<std::size_t>(c.bulletin)].blend) << c.header;
        }
    }
}

TEST(BulletinCheck, YieldsWhereEachBodyLiesAndWhereAnNbsBodysRowsBegin) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    bulletins[1].header = "\x1eKHON NBM V5.0 NBS GUIDANCE 12/08/2026 1200 UTC";
    bulletins[1].rows = {"DT /DEC 8", "UTC 18 21", "SKY 100100", "FHR  06 09"};
    const std::string text = testBulletinText(bulletins);
    ScopedTempDirectory dir;
    writeFile("bulletins.txt", text);
    DataFile data;
    openPlainDataFile(data, "bulletins.txt");
    BulletinVerdict verdict;
    BulletinFileBounds bounds;
    ASSERT_TRUE(checkBulletinFile(data, verdict, bounds));
    std::size_t at = 0;
    for (std::size_t bulletin = 0; bulletin < 12; ++bulletin) {
        const std::string station = testStations[bulletin % 4];
        const std::size_t headerStart = text.find(station, at);
        const std::size_t bodyStart = text.find('\n', headerStart) - 4;  // after the run word
        if (bulletin > 0) {
            EXPECT_EQ(bounds[bulletin - 1].bodyEnd, headerStart) << bulletin;
        }
        EXPECT_EQ(bounds[bulletin].bodyStart, bodyStart) << bulletin;
        EXPECT_EQ(bounds[bulletin].rowsStart, bulletin == 1 ? text.find("SKY 100100") : bodyStart)
            << bulletin;
        EXPECT_EQ(bounds[bulletin].blend, bulletin == 1);
        at = headerStart + 1;
    }
    EXPECT_EQ(bounds[11].bodyEnd, noScanLimit);
}

TEST(BulletinCheck, RefusesAWrongModelOrRun) {
    struct Change {
        int bulletin;
        const char* model;
        const char* run;
    };
    const Change changes[] = {
        {0, "eta", "1200"},  {2, "Eta", "1200"}, {3, "AVN", "1200"},  {1, "ETA", "0000"},
        {4, "avn", "1200"},  {6, "gfs", "1200"}, {5, "GFSX", "1200"}, {7, "AVN", "0000"},
        {7, "MRF", "1200"},  {8, "mrf", "0000"}, {9, "gfsx", "0000"}, {10, "GFS", "0000"},
        {11, "MRF", "1200"}, {11, "GFSX", "00"},
    };
    for (const Change& change : changes) {
        std::vector<TestBulletin> bulletins = validTestBulletins();
        setHeader(bulletins, change.bulletin, change.model, "12/08/2026", change.run);
        EXPECT_FALSE(checkBulletins(bulletins))
            << "bulletin " << change.bulletin + 1 << " " << change.model << " " << change.run;
    }
}

TEST(BulletinCheck, AFileEndingBeforeTheTwelfthHeaderIsInvalid) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    bulletins.resize(4);  // the ETA group only
    EXPECT_FALSE(checkBulletins(bulletins));
    bulletins = validTestBulletins();
    bulletins.resize(11);
    EXPECT_FALSE(checkBulletins(bulletins));
}

TEST(BulletinCheck, TheStationAsTheLastWordOfTheFileIsInvalid) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    bulletins.resize(11);
    const std::string text = testBulletinText(bulletins);
    EXPECT_FALSE(checkText(text + " KFSD"));
    // Followed by a line end the search succeeds, but the header is cut short.
    EXPECT_FALSE(checkText(text + " KFSD\n"));
}

TEST(BulletinCheck, AFinalHeaderCutShortIsInvalid) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    bulletins.resize(11);
    const std::string text = testBulletinText(bulletins);
    // Without its run word the header must not borrow the "0000" of the one before.
    EXPECT_FALSE(checkText(text + " KFSD MRF MOS GUIDANCE 12/08/2026"));
    EXPECT_FALSE(checkText(text + " KFSD MRF MOS GUIDANCE 12/08/2026\n"));
    EXPECT_FALSE(checkText(text + " KFSD MRF\n"));
    // A whole header is enough for the check; the readers want the rows.
    EXPECT_TRUE(checkText(text + " KFSD MRF MOS GUIDANCE 12/08/2026 0000"));
}

TEST(BulletinCheck, BulletinsAfterTheTwelfthAreNeverRead) {
    const std::string text = testBulletinText(validTestBulletins());
    EXPECT_TRUE(checkText(text + " KBKX NAM MOS GUIDANCE 01/01/1999 0600 UTC\n"));
    EXPECT_TRUE(checkText(text + text));
}

TEST(BulletinCheck, BodiesAreSkippedWordByWord) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    // A word that only contains the next station's name is no header.
    bulletins[0].rows.push_back(" KHONX xKHON khon KHON:");
    EXPECT_TRUE(checkBulletins(bulletins));
    // The station's name as a whole word inside the body is taken for its header.
    bulletins[0].rows.push_back(" REMARK KHON FOLLOWS");
    EXPECT_FALSE(checkBulletins(bulletins));
}

TEST(BulletinLayout, NamesTheGroupOfABulletinForAnyNumberOfStations) {
    EXPECT_EQ(bulletinGroup(0, 4), "ETA");
    EXPECT_EQ(bulletinGroup(7, 4), "AVN");
    EXPECT_EQ(bulletinGroup(8, 4), "MRF");
    EXPECT_EQ(bulletinGroup(1, 2), "ETA");
    EXPECT_EQ(bulletinGroup(2, 2), "AVN");
    EXPECT_EQ(bulletinGroup(4, 2), "MRF");
    EXPECT_EQ(bulletinGroup(0, 1), "ETA");
    EXPECT_EQ(bulletinGroup(2, 1), "MRF");
    EXPECT_EQ(bulletinGroup(15, 8), "AVN");
    EXPECT_EQ(bulletinGroup(16, 8), "MRF");
}

TEST(BulletinCheck, EachRefusalIsExplainedInTheForecastersWords) {
    std::vector<TestBulletin> eleven = validTestBulletins();
    eleven.resize(11);
    const std::string firstEleven = testBulletinText(eleven);
    const std::string forty(40, 'W');
    const struct {
        std::string text;
        std::string told;
    } files[] = {
        {"", "Bulletin 1 should start the file with KBKX, but the file holds no words."},
        {" \n\t\n", "Bulletin 1 should start the file with KBKX, but the file holds no words."},
        {firstEleven + " KFSD",
         "Bulletin 12 (KFSD, MRF or GFSX 0000 UTC) was not found before the end of the file."},
        {" KBKX ETA MOS GUIDANCE",
         "Bulletin 1 (KBKX, ETA, NAM or NBS 1200 UTC) is cut short: the file ends in its header "
         "\"KBKX ETA MOS GUIDANCE\"."},
        {firstEleven + " KFSD GFSX MOS GUIDANCE 12/08/2026\n",
         "Bulletin 12 (KFSD, MRF or GFSX 0000 UTC) is cut short: the file ends in its header "
         "\"KFSD GFSX MOS GUIDANCE 12/08/2026\"."},
        {forty + " KBKX",
         "Bulletin 1 should start the file with KBKX, but the file starts with \"" + forty + "\"."},
        {forty + "X KBKX",
         "Bulletin 1 should start the file with KBKX, but the file starts with \"" + forty +
             "...\". (Words longer than 40 characters are cut short and end in \"...\".)"},
        // A saved product, and another city's bulletins, each get a hint at what to do.
        {"\x01\r\r\n906 \r\r\nFOUS46 KWNO 121200\r\r\nMETNC1\r\r\n KBKX NAM MOS GUIDANCE",
         "Bulletin 1 should start the file with KBKX, but the file starts with \"906\".\nIt looks "
         "like a saved product: wxguide assemble picks option 1's bulletins out of it (see wxguide "
         "--help)."},
        {"FOUS46 KWNO 121200\n KBKX NAM MOS GUIDANCE",
         "Bulletin 1 should start the file with KBKX, but the file starts with \"FOUS46\".\nIt "
         "looks like a saved product: wxguide assemble picks option 1's bulletins out of it (see "
         "wxguide --help)."},
        {" KSUX NAM MOS GUIDANCE 12/08/2026 1200 UTC",
         "Bulletin 1 should start the file with KBKX, but the file starts with \"KSUX\".\nFor "
         "another city's stations, give --stations (see wxguide --help)."},
        {"1200 KBKX",
         "Bulletin 1 should start the file with KBKX, but the file starts with \"1200\"."},
        {" KBKX ETA MOS GUIDANCE 12/08/2026 0000",
         "Bulletin 1 should be the ETA, NAM or NBS 1200 UTC bulletin of KBKX, but its header reads "
         "\"KBKX ETA MOS GUIDANCE 12/08/2026 0000\"."},
    };
    for (const auto& file : files) {
        ScopedTempDirectory dir;
        writeFile("bulletins.txt", file.text);
        DataFile data;
        ASSERT_TRUE(openPlainDataFile(data, "bulletins.txt"));
        BulletinVerdict verdict;
        BulletinFileBounds bounds;
        EXPECT_FALSE(checkBulletinFile(data, verdict, bounds));
        EXPECT_EQ(explainVerdict(verdict), file.told) << file.text.substr(0, 60);
    }
}
