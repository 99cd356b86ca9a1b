#include "blend/temp_precip_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "bulletin_text.h"
#include "test_support.h"

namespace {

struct TempPrecipRead {
    bool complete = false;
    UnreadRow unread;
    TempPrecipElements eta{};
    TempPrecipElements avn{};
    MrfTempPrecipElements mrf{};
};

TempPrecipRead readText(const std::string& text) {
    ScopedTempDirectory dir;
    writeFile("bulletins.txt", text);
    TempPrecipRead read;
    DataFile data;
    openPlainDataFile(data, "bulletins.txt");
    BulletinVerdict verdict;
    BulletinFileBounds bounds;
    EXPECT_TRUE(checkBulletinFile(data, verdict, bounds)) << explainVerdict(verdict);
    read.complete = readTempPrecipElements(read.eta, read.avn, read.mrf, data, bounds,
                                           fixedStationSet(), read.unread);
    return read;
}

TempPrecipRead readBulletins(const std::vector<TestBulletin>& bulletins) {
    return readText(testBulletinText(bulletins));
}

void expectUnread(const TempPrecipRead& read, int bulletin, const std::string& label) {
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.unread.bulletin, bulletin);
    EXPECT_EQ(read.unread.label, label);
}

}  // namespace

TEST(TempPrecipReader, FillsEachGroupAndStationFromItsOwnBulletin) {
    const TempPrecipRead read = readBulletins(validTestBulletins());
    ASSERT_TRUE(read.complete);
    for (int station = 0; station < 4; ++station) {
        const auto s = static_cast<std::size_t>(station);
        for (int group = 0; group < 2; ++group) {
            const int bulletin = 4 * group + station;
            const auto& values = group == 0 ? read.eta[s] : read.avn[s];
            for (int i = 0; i < 4; ++i) {
                const auto n = static_cast<std::size_t>(i);
                EXPECT_EQ(values[n], testValue(bulletin, 0, i + 1));           // N/X 1-4
                EXPECT_EQ(values[4 + n], testValue(bulletin, 20, 7 + 4 * i));  // DPT 7..19
                EXPECT_EQ(values[8 + n], testValue(bulletin, 40, i + 1));      // P12 1-4
            }
        }
        const int bulletin = 8 + station;
        for (int i = 0; i < 5; ++i) {
            const auto n = static_cast<std::size_t>(i);
            EXPECT_EQ(read.mrf[s][n], testValue(bulletin, 0, 6 + 2 * i));        // X/N even
            EXPECT_EQ(read.mrf[s][5 + n], testValue(bulletin, 0, 7 + 2 * i));    // X/N odd
            EXPECT_EQ(read.mrf[s][10 + n], testValue(bulletin, 20, 6 + 2 * i));  // DPT even
            EXPECT_EQ(read.mrf[s][15 + n], testValue(bulletin, 20, 7 + 2 * i));  // DPT odd
            EXPECT_EQ(read.mrf[s][20 + n], testValue(bulletin, 40, 3 + i));      // P24 days 3-7
        }
    }
}

TEST(TempPrecipReader, KeepsDewPointsSevenElevenFifteenAndNineteen) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    testRow(bulletins[2], "DPT") = " DPT 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19";
    const TempPrecipRead read = readBulletins(bulletins);
    ASSERT_TRUE(read.complete);
    EXPECT_EQ(read.eta[2][4], 7);
    EXPECT_EQ(read.eta[2][5], 11);
    EXPECT_EQ(read.eta[2][6], 15);
    EXPECT_EQ(read.eta[2][7], 19);
}

TEST(TempPrecipReader, LongerRowsFillTheSameCells) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    testRow(bulletins[5], "N/X") = testShortRow("N/X", 5, 0, 21);
    testRow(bulletins[5], "DPT") = testShortRow("DPT", 5, 20, 21);
    testRow(bulletins[5], "P12") = testShortRow("P12", 5, 40, 21);
    const TempPrecipRead longer = readBulletins(bulletins);
    const TempPrecipRead plain = readBulletins(validTestBulletins());
    ASSERT_TRUE(longer.complete);
    EXPECT_EQ(longer.eta, plain.eta);
    EXPECT_EQ(longer.avn, plain.avn);
    EXPECT_EQ(longer.mrf, plain.mrf);
}

TEST(TempPrecipReader, CutsBackOnlyAnOverlongLastMaximum) {
    struct Case {
        const char* lastColumn;
        int stored;
    };
    const Case cases[] = {{"999", 999},   {"1000", 0},      {"3000000", 3},
                          {"3999999", 3}, {"-1500", -1500}, {"-999999999", -999999999},
                          {"7", 7}};
    for (const Case& c : cases) {
        std::vector<TestBulletin> bulletins = validTestBulletins();
        std::vector<std::string> cells = testExtendedCells(9, 0);
        cells[14] = c.lastColumn;
        cells[12] = "5000";  // column 13 is never cut back
        testRow(bulletins[9], "X/N") = testExtendedRow("X/N", cells);
        std::vector<std::string> dewPoints = testExtendedCells(9, 20);
        dewPoints[14] = "5000";  // nor is the last dew point
        testRow(bulletins[9], "DPT") = testExtendedRow("DPT", dewPoints);
        const TempPrecipRead read = readBulletins(bulletins);
        ASSERT_TRUE(read.complete) << c.lastColumn;
        EXPECT_EQ(read.mrf[1][9], c.stored) << c.lastColumn;
        EXPECT_EQ(read.mrf[1][8], 5000);
        EXPECT_EQ(read.mrf[1][19], 5000);
    }
}

TEST(TempPrecipReader, TakesTheDaysOfColumnsSevenToFifteenFromP24) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    testRow(bulletins[11], "P24") =
        " P24    |     91|     92|     30|     40|     50|     60|     70";
    const TempPrecipRead read = readBulletins(bulletins);
    ASSERT_TRUE(read.complete);
    EXPECT_EQ(read.mrf[3][20], 30);
    EXPECT_EQ(read.mrf[3][24], 70);
}

TEST(TempPrecipReader, TheFileMayEndRightAfterTheLastValue) {
    std::string text = testBulletinText(validTestBulletins());
    text.pop_back();  // the line end after the last P24 value
    const TempPrecipRead read = readText(text);
    ASSERT_TRUE(read.complete);
    EXPECT_EQ(read.mrf[3][24], testValue(11, 40, 7));
}

TEST(TempPrecipReader, RowsOutOfOrderAreTold) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    std::rotate(bulletins[0].rows.begin(), bulletins[0].rows.end() - 1,
                bulletins[0].rows.end());  // P12 first
    expectUnread(readBulletins(bulletins), 0, "P12");
}

TEST(TempPrecipReader, ABlankColumnInAnExtendedRowIsTold) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    testRow(bulletins[8], "X/N") = " X/N 30| 14 25| 10 22|  8 20| 12 28| 15   | 18 32| 20 33";
    expectUnread(readBulletins(bulletins), 8, "X/N");

    bulletins = validTestBulletins();
    testRow(bulletins[9], "DPT") = " DPT   | 14 25| 10 22|  8 20| 12 28| 15 30| 18 32| 20 33";
    expectUnread(readBulletins(bulletins), 9, "DPT");

    bulletins = validTestBulletins();
    testRow(bulletins[10], "P24") =
        " P24    |     91|     92|       |     40|     50|     60|     70";
    expectUnread(readBulletins(bulletins), 10, "P24");
}

TEST(TempPrecipReader, AFileEndingInsideARowIsTold) {
    std::string text = testBulletinText(validTestBulletins());
    text.erase(text.rfind('|'));  // the last P24 row loses its last two days
    expectUnread(readText(text), 11, "P24");
}

TEST(TempPrecipReader, AnXnRowRightBeforeDptCostsTheLabelItsFirstLetter) {
    // The character after the last maximum is discarded whatever it is, here the "D".
    std::vector<TestBulletin> bulletins = validTestBulletins();
    removeTestRow(bulletins[8], "TMP");
    expectUnread(readBulletins(bulletins), 8, "DPT");
}

TEST(TempPrecipReader, ReadsTheSameFileAgainFromItsStart) {
    const TempPrecipRead first = readBulletins(validTestBulletins());
    std::vector<TestBulletin> bulletins = validTestBulletins();
    removeTestRow(bulletins[4], "DPT");
    expectUnread(readBulletins(bulletins), 4, "DPT");
    // A failed read leaves nothing behind for the next run.
    const TempPrecipRead again = readBulletins(validTestBulletins());
    ASSERT_TRUE(again.complete);
    EXPECT_EQ(again.mrf, first.mrf);
}
