#include "blend/cloud_wind_reader.h"

#include <gtest/gtest.h>

#include "bulletin_text.h"
#include "test_support.h"

namespace {

struct CloudWindRead {
    bool complete = false;
    UnreadRow unread;
    CloudWindElements eta{};
    CloudWindElements avn{};
    MrfCloudWindElements mrf{};
};

CloudWindRead readText(const std::string& text, std::int32_t initial = 0) {
    ScopedTempDirectory dir;
    writeFile("bulletins.txt", text);
    CloudWindRead read;
    for (auto& row : read.eta) {
        row.fill(initial);
    }
    for (auto& row : read.mrf) {
        row.fill(initial);
    }
    DataFile data;
    openPlainDataFile(data, "bulletins.txt");
    BulletinVerdict verdict;
    BulletinFileBounds bounds;
    EXPECT_TRUE(checkBulletinFile(data, verdict, bounds)) << explainVerdict(verdict);
    read.complete = readCloudWindElements(read.eta, read.avn, read.mrf, data, bounds,
                                          fixedStationSet(), read.unread);
    return read;
}

CloudWindRead readBulletins(const std::vector<TestBulletin>& bulletins, std::int32_t initial = 0) {
    return readText(testBulletinText(bulletins), initial);
}

void expectUnread(const CloudWindRead& read, int bulletin, const std::string& label) {
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.unread.bulletin, bulletin);
    EXPECT_EQ(read.unread.label, label);
}

std::int32_t cloudCode(const std::string& word) {
    return word == "CL" ? 0 : word == "SC" ? 3 : word == "BK" ? 7 : word == "PC" ? 5 : 10;
}

}  // namespace

TEST(CloudWindReader, FillsEachGroupAndStationFromItsOwnBulletin) {
    const CloudWindRead read = readBulletins(validTestBulletins());
    ASSERT_TRUE(read.complete);
    for (int station = 0; station < 4; ++station) {
        const auto s = static_cast<std::size_t>(station);
        for (int group = 0; group < 2; ++group) {
            const int bulletin = 4 * group + station;
            const auto& values = group == 0 ? read.eta[s] : read.avn[s];
            for (int column = 1; column <= 19; ++column) {
                const auto n = static_cast<std::size_t>(column - 1);
                EXPECT_EQ(values[n], cloudCode(testCloudWord(bulletin, column)));
                EXPECT_EQ(values[19 + n], testValue(bulletin, 60, column));  // WDR
                EXPECT_EQ(values[38 + n], testValue(bulletin, 80, column));  // WSP
            }
        }
        const int bulletin = 8 + station;
        for (int column = 5; column <= 15; ++column) {
            const auto n = static_cast<std::size_t>(column - 5);
            EXPECT_EQ(read.mrf[s][n], cloudCode(testCloudWord(bulletin, column)));
            EXPECT_EQ(read.mrf[s][11 + n], testValue(bulletin, 80, column));  // WND
        }
    }
}

TEST(CloudWindReader, TurnsShortRangeCloudWordsIntoCodes) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    testRow(bulletins[4], "CLD") = " CLD CL SC BK OV FW fw OV OV OV OV OV OV OV OV OV OV OV OV OV";
    const CloudWindRead read = readBulletins(bulletins);
    ASSERT_TRUE(read.complete);
    // "fw" is no cloud word and leaves its cell at the reader's zero.
    const std::array<std::int32_t, 19> expected = {0,  3,  7,  10, 1,  0,  10, 10, 10, 10,
                                                   10, 10, 10, 10, 10, 10, 10, 10, 10};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), read.avn[0].begin()));
}

TEST(CloudWindReader, ExtendedCloudWordsCountWithOrWithoutTheirBar) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    // Columns 5-15: PC| PC OV| OV CL| CL BK| sc PC OV| XX
    testRow(bulletins[9], "CLD") = " CLD OV| OV OV| OV PC| PC OV| OV CL| CL BK| sc PC OV| XX";
    const CloudWindRead read = readBulletins(bulletins, 99);
    ASSERT_TRUE(read.complete);
    const std::array<std::int32_t, 11> expected = {5, 5, 10, 10, 0, 0, 99, 99, 5, 10, 99};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), read.mrf[1].begin()));

    // An unknown short-range word ("PC" belongs to the extended range) stores nothing.
    bulletins = validTestBulletins();
    testRow(bulletins[0], "CLD") = " CLD PC cl OV| SC SC SC SC SC SC SC SC SC SC SC SC SC SC SC SC";
    const CloudWindRead shortRange = readBulletins(bulletins, 99);
    ASSERT_TRUE(shortRange.complete);
    EXPECT_EQ(shortRange.eta[0][0], 99);
    EXPECT_EQ(shortRange.eta[0][1], 99);
    EXPECT_EQ(shortRange.eta[0][2], 99);
    EXPECT_EQ(shortRange.eta[0][3], 3);
}

TEST(CloudWindReader, TwentyOneValuesFillTheSameNineteenCells) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    testRow(bulletins[6], "CLD") += " OV CL";
    testRow(bulletins[6], "WDR") = testShortRow("WDR", 6, 60, 21);
    testRow(bulletins[6], "WSP") = testShortRow("WSP", 6, 80, 21);
    const CloudWindRead longer = readBulletins(bulletins);
    const CloudWindRead plain = readBulletins(validTestBulletins());
    ASSERT_TRUE(longer.complete);
    EXPECT_EQ(longer.eta, plain.eta);
    EXPECT_EQ(longer.avn, plain.avn);
    EXPECT_EQ(longer.mrf, plain.mrf);
}

TEST(CloudWindReader, WindSpeedsStartAtColumnFive) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    testRow(bulletins[11], "WND") = " WND 91| 92 93| 94 15| 16 17| 18 19| 20 21| 22 23| 24 25";
    const CloudWindRead read = readBulletins(bulletins);
    ASSERT_TRUE(read.complete);
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(read.mrf[3][11 + i], static_cast<std::int32_t>(15 + i));
    }
}

TEST(CloudWindReader, TheFileMayEndRightAfterTheLastWindSpeed) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    removeTestRow(bulletins[11], "P12");
    removeTestRow(bulletins[11], "P24");
    std::string text = testBulletinText(bulletins);
    text.pop_back();
    const CloudWindRead read = readText(text);
    ASSERT_TRUE(read.complete);
    EXPECT_EQ(read.mrf[3][21], testValue(11, 80, 15));
}

TEST(CloudWindReader, LabelsAreWholeCaseSensitiveWords) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    testRow(bulletins[2], "CLD").replace(1, 3, "CLDS");
    expectUnread(readBulletins(bulletins), 2, "CLD");
    bulletins = validTestBulletins();
    testRow(bulletins[10], "WND").replace(1, 3, "wnd");
    expectUnread(readBulletins(bulletins), 10, "WND");
}

TEST(CloudWindReader, ACloudRowCutShortByTheNextHeaderIsTold) {
    // With the cloud row last, its missing words would be taken from the next header.
    std::vector<TestBulletin> bulletins = validTestBulletins();
    removeTestRow(bulletins[7], "CLD");
    bulletins[7].rows.push_back(" CLD OV OV OV");
    expectUnread(readBulletins(bulletins), 7, "CLD");

    bulletins = validTestBulletins();
    removeTestRow(bulletins[8], "CLD");
    removeTestRow(bulletins[8], "P12");
    removeTestRow(bulletins[8], "P24");
    bulletins[8].rows.push_back(" CLD OV| PC OV|");
    expectUnread(readBulletins(bulletins), 8, "CLD");
}
