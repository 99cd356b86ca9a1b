#include "fetch/grib_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The ranges of an .idx text when the lines numbered in `wanted` (their first field) are.
std::string rangesOf(const std::string& sampleIndex, const std::vector<std::string>& wanted) {
    std::vector<IndexLine> lines;
    std::string fault;
    if (!readGribIndex(sampleIndex, lines, fault)) {
        return "fault: " + fault;
    }
    WantedLines flags;
    for (const IndexLine& line : lines) {
        flags.push_back(std::find(wanted.begin(), wanted.end(), line.number) != wanted.end());
    }
    std::string text;
    for (const ByteRange& range : wantedRanges(lines, flags)) {
        text += (text.empty() ? "" : " ") + writeByteRange(range) + "(" +
                std::to_string(range.messages) + ")";
    }
    return text;
}

const std::string sampleIndex =
    "1:0:d=2026120812:PRMSL:mean sea level:3 hour fcst:\n"
    "2:100:d=2026120812:TMP:2 m above ground:3 hour fcst:\n"
    "3:250:d=2026120812:RH:2 m above ground:3 hour fcst:\n"
    "4:400:d=2026120812:UGRD:10 m above ground:3 hour fcst:\n"
    "4.1:400:d=2026120812:UGRD:10 m above ground:3 hour fcst:\n"
    "4.2:400:d=2026120812:VGRD:10 m above ground:3 hour fcst:\n"
    "5:700:d=2026120812:HGT:500 mb:3 hour fcst:\n"
    "6:900:d=2026120812:TMP:500 mb:3 hour fcst\n";

}  // namespace

TEST(GribIndex, TakesTheWantedMessagesInTheFewestRanges) {
    struct Case {
        std::vector<std::string> wanted;
        std::string ranges;
    };
    const Case cases[] = {
        {{"1"}, "0-99(1)"},
        {{"1", "2"}, "0-249(2)"},            // neighbours in one range
        {{"1", "3"}, "0-99(1) 250-399(1)"},  // a gap between
        {{"6"}, "900-(1)"},                  // the last runs to the file's end
        {{"5", "6"}, "700-(2)"},             // and joins its neighbour
        {{"4.2"}, "400-699(1)"},             // a part: its message whole
        {{"4.1", "4.2"}, "400-699(1)"},      // both parts: once
        {{"3", "4.2", "5"}, "250-899(3)"},
        {{"1", "2", "3", "4", "5", "6"}, "0-(6)"},
        {{}, ""},
    };
    for (const Case& test : cases) {
        std::string named;
        for (const std::string& number : test.wanted) {
            named += number + " ";
        }
        EXPECT_EQ(rangesOf(sampleIndex, test.wanted), test.ranges) << named;
    }
}

TEST(GribIndex, ReadsLinesWithOrWithoutTheLastColonAndRefusesBrokenOnes) {
    std::vector<IndexLine> lines;
    std::string fault;
    ASSERT_TRUE(readGribIndex(sampleIndex + "\r\n", lines, fault)) << fault;
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5].number, "4.2");
    EXPECT_EQ(lines[5].variable, "VGRD");
    EXPECT_EQ(lines[5].level, "10 m above ground");
    EXPECT_EQ(lines[5].time, "3 hour fcst");
    EXPECT_EQ(lines[7].time, "3 hour fcst");  // no last colon
    EXPECT_EQ(lines[7].offset, 900u);
    EXPECT_EQ(lines[0].run, "2026120812");
    ASSERT_TRUE(readGribIndex("1:0:d=2026120812:TMP:surface\n", lines, fault)) << fault;
    EXPECT_EQ(lines[0].level, "surface");
    EXPECT_EQ(lines[0].time, "");

    struct Refusal {
        std::string text;
        std::string fault;
    };
    const Refusal refusals[] = {
        {"", "no line"},
        {"\n\n", "no line"},
        {"1:0:d=2026120812:TMP\n", "line 1: fewer than five fields"},
        {"1:x:d=2026120812:TMP:surface:\n", "line 1: the offset x is no number"},
        {"1:-5:d=2026120812:TMP:surface:\n", "line 1: the offset -5 is no number"},
        {"1:0:2026120812:TMP:surface:\n", "line 1: the date 2026120812 is no d=YYYYMMDDHH"},
        {"1:0:d=20261208:TMP:surface:\n", "line 1: the date d=20261208 is no d=YYYYMMDDHH"},
        {"1:50:d=2026120812:TMP:surface:\n2:10:d=2026120812:RH:surface:\n",
         "line 2: its offset is lower than the line's before"},
        {"<html><body>Not Found</body></html>\n", "line 1: fewer than five fields"},
    };
    for (const Refusal& refusal : refusals) {
        EXPECT_FALSE(readGribIndex(refusal.text, lines, fault)) << refusal.text;
        EXPECT_EQ(fault, refusal.fault) << refusal.text;
    }
}

TEST(GribIndex, WantsExactlyTheFieldsExtractReads) {
    std::vector<IndexLine> lines;
    std::string fault;
    ASSERT_TRUE(readGribIndex(
        "1:0:d=2026120812:TMP:2 m above ground:3 hour fcst:\n"
        "2:10:d=2026120812:TMP:2 m below ground:3 hour fcst:\n"
        "3:20:d=2026120812:TMP:surface:3 hour fcst:\n"
        "4:30:d=2026120812:TCDC:entire atmosphere (considered as a single layer):3 hour fcst:\n"
        "5:40:d=2026120812:APCP:surface:0-3 hour acc fcst:\n"
        "6:50:d=2026120812:CAPE:180-0 mb above ground:3 hour fcst:\n"
        "7:60:d=2026120812:CAPE:surface:3 hour fcst:\n",
        lines, fault))
        << fault;
    EXPECT_EQ(linesExtractReads(lines), (WantedLines{true, false, false, true, true, false, true}));
    const std::vector<GribField> missing = fieldsNotListed(lines);
    EXPECT_EQ(missing.size(), gribFieldCount - 4);
    EXPECT_EQ(std::count(missing.begin(), missing.end(), fieldCape), 0);
    EXPECT_EQ(std::count(missing.begin(), missing.end(), fieldTemp850), 1);
    // Every variable and every level once, as the filter's words.
    const std::string words = gribFilterFields();
    EXPECT_TRUE(words.starts_with("var_PRMSL=on&var_TMP=on&var_HGT=on&")) << words;
    EXPECT_NE(words.find("&lev_2_m_above_ground=on&"), std::string::npos) << words;
    EXPECT_NE(words.find("&lev_0.995_sigma_level=on"), std::string::npos) << words;
    EXPECT_EQ(words.find("var_TMP=on", 20), std::string::npos) << words;
    EXPECT_EQ(std::count(words.begin(), words.end(), '&'), 15 + 12 - 1) << words;
}
