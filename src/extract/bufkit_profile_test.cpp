#include "extract/bufkit_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "scan/scan_file.h"

namespace {

// A small profile of two blocks (STIM 0 and 3, three levels of four columns) and its surface
// section, with line ends `eol`; the values are wrapped as BUFKIT wraps them.
std::string smallProfile(const std::string& eol = "\r\n") {
    std::string text;
    const auto line = [&](const std::string& s) { text += s + eol; };
    line("SNPARM = PRES;TMPC;HGHT;SKNT ");
    line("STNPRM = SHOW;LIFT;CAPE;CINS ");
    line("");
    for (const char* block : {"0000", "0300"}) {
        line(std::string("STID = KXYZ STNM = 725460 TIME = 210311/") + block + " ");
        line("SLAT = 41.53 SLON = -93.65 SELV = 294.0");
        line(std::string("STIM = ") + (block[1] == '0' ? "0" : "3"));
        line("");
        line("SHOW = 8.00 LIFT = 6.17 CAPE = 12.00");
        line("CINS = -3.00");
        line("");
        line("PRES TMPC HGHT");
        line("SKNT");
        line("960.0 10.0 300.0 5.0 850.0");
        line("2.0 1300.0 20.0 500.0 -20.0");
        line("5600.0 40.0");
    }
    line("");
    line("STN YYMMDD/HHMM PMSL PRES T2MS");
    line("TD2M P01M");
    line("725460 210311/0000 1001.3 967.4 17.0");
    line("6.5 -9999.00");
    line("725460 210311/0300 1002.3 968.4 15.0");
    line("5.5 0.25");
    return text;
}

bool readText(const std::string& text, BufkitProfile& profile, std::string& fault) {
    ScanFile scan;
    openScanText(scan, text, 7);  // small reads: every word may cross a read
    return readBufkitProfile(scan, profile, fault);
}

TEST(BufkitProfile, ReadsByNamesAndCountsWhateverTheLines) {
    BufkitProfile profile;
    std::string fault;
    ASSERT_TRUE(readText(smallProfile(), profile, fault)) << fault;
    ASSERT_EQ(profile.blocks.size(), 2u);
    const ProfileBlock& block = profile.blocks[1];
    EXPECT_EQ(block.stationId, "KXYZ");
    EXPECT_EQ(block.stationNumber, "725460");
    EXPECT_EQ(block.hour, 3);
    EXPECT_EQ(block.liftedIndex, 6.17);
    EXPECT_EQ(block.cape, 12.0);
    EXPECT_EQ(block.cins, -3.0);
    EXPECT_EQ(block.levels[levelPres], (std::vector<double>{960, 850, 500}));
    EXPECT_EQ(block.levels[levelTmpc], (std::vector<double>{10, 2, -20}));
    EXPECT_EQ(block.levels[levelHght], (std::vector<double>{300, 1300, 5600}));
    EXPECT_EQ(block.levels[levelSknt], (std::vector<double>{5, 20, 40}));
    EXPECT_EQ(block.levels[levelDrct], (std::vector<double>{-9999, -9999, -9999}));
    EXPECT_FALSE(profile.hasLevelColumn[levelDrct]);
    EXPECT_EQ(profile.runMinute, profile.blocks[0].validMinute);
    ASSERT_EQ(profile.surface.size(), 2u);
    EXPECT_EQ(profile.surface[1].values[surfaceTd2m], 5.5);
    EXPECT_EQ(profile.surface[1].values[surfaceP01m], 0.25);
    EXPECT_EQ(profile.surface[0].values[surfaceP01m], missingValue);
    EXPECT_EQ(profile.surface[1].values[surfaceUwnd], missingValue);
    EXPECT_EQ(profile.surface[1].validMinute - profile.runMinute, 180);

    // LF line ends, every value on a line of its own, or all on one line: the same profile.
    std::string oneLine = smallProfile(" ");
    std::string eachWord = smallProfile("\n");
    for (char& c : eachWord) {
        c = c == ' ' ? '\n' : c;
    }
    for (const std::string& text : {smallProfile("\n"), oneLine, eachWord}) {
        BufkitProfile other;
        ASSERT_TRUE(readText(text, other, fault)) << fault;
        EXPECT_EQ(other.blocks[1].levels, block.levels);
        EXPECT_EQ(other.surface[1].values, profile.surface[1].values);
    }
}

TEST(BufkitProfile, GfsBlocksWithoutAStationId) {
    std::string text = smallProfile();
    for (std::size_t at; (at = text.find("STID = KXYZ ")) != std::string::npos;) {
        text.replace(at, 12, "STID = ");
    }
    BufkitProfile profile;
    std::string fault;
    ASSERT_TRUE(readText(text, profile, fault)) << fault;
    EXPECT_EQ(profile.blocks[0].stationId, "");
    EXPECT_EQ(profile.blocks[0].stationNumber, "725460");
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(BufkitProfile, RefusesWhatCannotBeReadNamingWhere) {
    const std::string good = smallProfile("\n");
    const std::string surface = good.substr(good.find("\nSTN "));
    const std::string blocks = good.substr(0, good.find("\nSTN "));
    const std::string hugeWord(100000, '7');
    struct Case {
        std::string text;
        std::string fault;
    };
    const Case cases[] = {
        {"", "the profile holds no block (STID = ...)"},
        {replaced(good, "SNPARM = PRES;TMPC;HGHT;SKNT", "X"),
         "no SNPARM list of the level columns stands before block 1"},
        {replaced(good, "SNPARM = PRES;", "SNPARM = P;"),
         "SNPARM lists no PRES, the pressure of each level"},
        {good.substr(0, good.find("2.0 1300.0")), "the profile ends inside block 1 (STIM 0)"},
        {good.substr(0, good.find("CINS = -3.00")), "the profile ends inside block 1 (STIM 0)"},
        {blocks, "the profile has no surface section (STN YYMMDD/HHMM ...) after block 2 (STIM 3)"},
        {replaced(good, "5600.0 40.0", "5600.0"),
         "block 1 (STIM 0): its 11 values are not whole levels of 4 columns"},
        {replaced(good, "2.0 1300.0", "2.0 13OO.0"), "block 1 (STIM 0): '13OO.0' is not a number"},
        {replaced(good, "2.0 1300.0", "2.0 " + hugeWord),
         "block 1 (STIM 0): '" + hugeWord.substr(0, 40) + "' is not a number"},
        {replaced(good, "850.0\n2.0", "970.0\n2.0"),
         "block 1 (STIM 0): its pressures do not fall from each level to the next"},
        {replaced(good, "STIM = 3", "STIM = 0"), "block 2 (STIM 0) does not follow STIM 0"},
        {replaced(good, "STIM = 3", "STIM = 2"),
         "block 2 (STIM 2): its TIME is not block 1's run plus its STIM"},
        {replaced(good, "TIME = 210311/0300", "TIME = 210311/2500"),
         "block 2: TIME '210311/2500' is no time written YYMMDD/HHMM"},
        {replaced(good, "STIM = 0\n", ""), "block 1 has no STIM"},
        {replaced(good, "PRES TMPC HGHT\nSKNT", "PRES TMPC HGHT\nDRCT"),
         "block 1 (STIM 0): 'DRCT' where the column SKNT is due"},
        {replaced(good, "LIFT = 6.17", "LIFT = six"),
         "block 1 (STIM 0): LIFT = 'six' is not a number"},
        {blocks + "\nSTN YYMMDD/HHMM PMSL\n", "the surface section holds no row"},
        {good.substr(0, good.rfind("5.5 0.25")),
         "the profile ends inside the surface row 2 (210311/0300)"},
        {replaced(good, "725460 210311/0300 1002.3", "725460 210311/0000 1002.3"),
         "the surface row 2 (210311/0000) does not follow the row before it in time"},
        {replaced(good, "5.5 0.25", "5.5 x"),
         "the surface row 2 (210311/0300): 'x' is not a number"},
        {blocks + "\nSTN HHMM", "the surface section: STN is not followed by YYMMDD/HHMM"},
    };
    for (const Case& c : cases) {
        BufkitProfile profile;
        std::string fault;
        EXPECT_FALSE(readText(c.text, profile, fault)) << c.fault;
        EXPECT_EQ(fault, c.fault);
    }
}

TEST(BufkitProfile, BoundsTheLevelsOfABlock) {
    std::string text = smallProfile("\n");
    std::string levels;
    double p = 1000;
    for (std::size_t i = 0; i <= maxProfileLevels; ++i, p -= 1) {
        levels += std::to_string(p) + " 1 1 1\n";
    }
    text = replaced(text, "960.0 10.0 300.0 5.0 850.0\n2.0 1300.0 20.0 500.0 -20.0\n5600.0 40.0\n",
                    levels);
    BufkitProfile profile;
    std::string fault;
    EXPECT_FALSE(readText(text, profile, fault));
    EXPECT_EQ(fault, "block 1 (STIM 0) holds more than 128 levels");
}

TEST(BufkitProfile, TimesOfTheCalendar) {
    std::int64_t minute = -1;
    ASSERT_TRUE(readProfileTime("210311/1300", minute));
    const ProfileTime time = profileTimeOf(minute - 13 * 60 - 24 * 60 * 11);
    EXPECT_EQ(time.year, 2021);
    EXPECT_EQ(time.month, 2);
    EXPECT_EQ(time.day, 28);
    EXPECT_EQ(time.hour, 0);
    ASSERT_TRUE(readProfileTime("240229/0000", minute));
    EXPECT_EQ(profileTimeOf(minute + 24 * 60).month, 3);
    EXPECT_FALSE(readProfileTime("230229/0000", minute));
    EXPECT_FALSE(readProfileTime("2303010000", minute));
    EXPECT_FALSE(readProfileTime("230301/0060", minute));
    ASSERT_TRUE(readProfileTime("000101/0000", minute));
    EXPECT_EQ(minute, 0);
}

}  // namespace
