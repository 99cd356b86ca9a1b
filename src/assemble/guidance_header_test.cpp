#include "assemble/guidance_header.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct HeaderCase {
    std::string line;
    GuidanceKind kind;
    std::string station;
    std::string date;
    std::string run;
};

}  // namespace

TEST(GuidanceHeader, ReadsTheHeadersOfIssuedProductsWithTheirFraming) {
    const HeaderCase cases[] = {
        {"\x1eXSBN_0  NBM V3.2 NBS GUIDANCE    2/19/2020  1700 UTC\r\r",
         GuidanceKind::blendShortRange, "XSBN_0", "2/19/2020", "1700"},
        {"\x1eKALM    NBM NBS GUIDANCE   11/07/2018  1500 UTC", GuidanceKind::blendShortRange,
         "KALM", "11/07/2018", "1500"},
        {"KFOZ   NAM MOS GUIDANCE    8/12/2017  1200 UTC", GuidanceKind::namMos, "KFOZ",
         "8/12/2017", "1200"},
        {" KFSD   ETA MOS GUIDANCE   12/08/2003  1200 UTC", GuidanceKind::namMos, "KFSD",
         "12/08/2003", "1200"},
        {"KBKX   AVN MOS GUIDANCE   12/8/2003  1200 UTC", GuidanceKind::gfsMos, "KBKX", "12/8/2003",
         "1200"},
        {"\x1eKTVK   GFSX MOS GUIDANCE   9/01/2020  0000 UTC\r\r", GuidanceKind::gfsxMos, "KTVK",
         "9/01/2020", "0000"},
        {"<PRE><b>KMHE   MRF MOS GUIDANCE  12/08/2003  0000 UTC", GuidanceKind::gfsxMos, "KMHE",
         "12/08/2003", "0000"},
        // Headers all the same, which end the bulletin before them, but never chosen.
        {"KDSM    NBM V4.0 NBE GUIDANCE    4/06/2021  2100 UTC", GuidanceKind::other, "KDSM",
         "4/06/2021", "2100"},
        {"KBKX   nam MOS GUIDANCE   12/08/2026  1200 UTC", GuidanceKind::other, "KBKX",
         "12/08/2026", "1200"},
        {"KBKX   ECM MOS GUIDANCE   12/08/2026  1200 UTC", GuidanceKind::other, "KBKX",
         "12/08/2026", "1200"},
    };
    for (const HeaderCase& wanted : cases) {
        SCOPED_TRACE(wanted.line);
        GuidanceHeader header;
        ASSERT_TRUE(readGuidanceHeader(wanted.line, header));
        EXPECT_EQ(header.kind, wanted.kind);
        EXPECT_EQ(header.station, wanted.station);
        EXPECT_EQ(header.date, wanted.date);
        EXPECT_EQ(header.run, wanted.run);
        EXPECT_EQ(wanted.line.substr(header.stationAt, wanted.station.size()), wanted.station);
        EXPECT_EQ(wanted.line.substr(header.dateAt, wanted.date.size()), wanted.date);
    }
}

TEST(GuidanceHeader, RowsTitlesAndLongerLinesAreNoHeaders) {
    const std::string lines[] = {
        "TMP  69 68 65 61 58 53 50 52 56 57 56 52 51 49 48 51 56 60 59 53 50 46 45",
        "KBKX   NAM MOS GUIDANCE   12/08/2026  1200 UTC  corrected",
        "KBKX   NAM MOS GUIDANCE   12/08/2026  12Z UTC",
        "KBKX   NAM MOS GUIDANCE   12/08/2026  1200",
        "NAM MOS GUIDANCE   12/08/2026  1200 UTC",
        "KBKX   NBM V5.0 NBS NBS GUIDANCE   12/08/2026  1200 UTC",
        "MOS GUIDANCE FOR KBKX 12/08/2026 1200 UTC",
        "",
    };
    for (const std::string& line : lines) {
        GuidanceHeader header;
        EXPECT_FALSE(readGuidanceHeader(line, header)) << line;
    }
}

TEST(GuidanceHeader, FramingTagsAndHeadingsEndABulletinAndRowsDoNot) {
    const std::string ending[] = {"",         "\r\r",   " \x03\r", "\x01\r\r",
                                  "$$",       "</pre>", "<p>",     "FOUS16 KWNO 191700\r\r",
                                  "251 \r\r", "NBSUSA", "METNC1\r"};
    for (const std::string& line : ending) {
        EXPECT_TRUE(endsBulletin(line)) << line;
    }
    const std::string rows[] = {"TMP  69 68 65",
                                "SNW    |      0|      0|",
                                "PRA 100100100",
                                "DT /DEC   8/DEC   9",
                                "TUE  01| WED 02| THU 03 CLIMO",
                                "CIG 888888888888888170140160100130 90999999",
                                "N/X   14 < 20"};
    for (const std::string& line : rows) {
        EXPECT_FALSE(endsBulletin(line)) << line;
    }
}
