#include "tables/table_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += line;
    }
    return text;
}

}  // namespace

TEST(TableFile, TheHeaderTellsFilesOfOtherRunsWhereverTheyStandBeforeTheFirstRow) {
    const std::string filler = "GFS MODEL COLUMN FORECAST 12 34.5 KT OV\n";
    const std::string rows = "FHR\n|   3 | 1016.1\n";
    struct Case {
        std::string text;
        ForeignFile foreign;
        bool firstRow;
    };
    const Case cases[] = {
        {" KBKX   NAM MOS GUIDANCE   12/08/2025  1200 UTC\n" + rows, ForeignFile::bulletins, false},
        {"\x01\r\r\n123\r\r\nFOUS14 KWNO\r\r\nKBKX    NBM V5.0 NBS GUIDANCE   12/08/2026\n" + rows,
         ForeignFile::bulletins, false},
        {"\nSNPARM = PRES;TMPC;TMWC\n" + rows, ForeignFile::bufkitProfile, false},
        // In the first lines every word counts, not only the first of each kind.
        {"GFS MODEL COLUMN output GUIDANCE\n KBKX NAM MOS GUIDANCE\n" + rows,
         ForeignFile::bulletins, false},
        {"STNPRM\n= SHOW;LIFT\n" + rows, ForeignFile::bufkitProfile, false},
        // Far past the first lines, by the words around the one found.
        {lines(100, filler) + "KBKX NAM MOS GUIDANCE 12/08/2025\n" + rows, ForeignFile::bulletins,
         false},
        {lines(100, filler) + "NBM\nV5.0 NBS GUIDANCE\n" + rows, ForeignFile::bulletins, false},
        {lines(100, filler) + "NBM V5.0 NBS X GUIDANCE\n" + rows, ForeignFile::none, true},
        {lines(100, filler) + "SNPARM\n\n   = PRES;TMPC\n" + rows, ForeignFile::bufkitProfile,
         false},
        {lines(100, filler) + "STNPRM = SHOW\n" + rows, ForeignFile::bufkitProfile, false},
        {lines(100, filler) + std::string(5000, 'X') + "MOS GUIDANCE\n" + rows, ForeignFile::none,
         true},
        {lines(100, filler) + std::string(5000, 'X') + " MOS GUIDANCE\n" + rows,
         ForeignFile::bulletins, false},
        // Lookalikes, and headers after the first row, tell nothing.
        {"GFS MODEL COLUMN NBM POINT mos guidance MOS output GUIDANCE\nSEVERE WATCH SNPARM\n"
         "PRES MB\n" +
             rows,
         ForeignFile::none, true},
        {lines(100, filler) + "output GUIDANCE SNPARM PRES\n" + rows + "MOS GUIDANCE\n",
         ForeignFile::none, true},
        {rows + "KBKX NAM MOS GUIDANCE\nSNPARM = PRES\n", ForeignFile::none, true},
        {lines(100, filler), ForeignFile::none, false},
        {lines(100, filler) + "FHR:\n", ForeignFile::none, false},
    };
    for (const std::size_t block : {std::size_t{64}, scanBlockSize}) {
        for (const Case& c : cases) {
            ScanFile in;
            openScanText(in, c.text, block);
            bool firstRow = !c.firstRow;
            EXPECT_EQ(readTableHeader(in, TableKind::modelColumn, firstRow), c.foreign)
                << block << ": " << c.text.substr(c.text.size() > 200 ? c.text.size() - 200 : 0);
            EXPECT_EQ(firstRow, c.firstRow) << c.text.substr(0, 80);
            std::string word;
            if (c.firstRow) {
                // Right after the marker: the first row follows.
                ASSERT_TRUE(scanWord(in, word));
                EXPECT_EQ(word, "|");
            }
        }
    }
}

TEST(TableFile, AGrib2FileIsToldForBothTablesByItsOpeningBytes) {
    const std::string grib2("GRIB\0\0\0\x02\0\0\0\0\0\0\x01\x2c", 16);
    const std::string grib1("GRIB\0\0\x1c\x01\nFHR\n", 13);
    for (const TableKind kind : {TableKind::modelColumn, TableKind::severeWeather}) {
        ScanFile in;
        bool firstRow = true;
        openScanText(in, grib2);
        EXPECT_EQ(readTableHeader(in, kind, firstRow), ForeignFile::grib2);
        EXPECT_FALSE(firstRow);
        // Only edition 2 is what extract reads.
        ScanFile older;
        openScanText(older, grib1);
        EXPECT_EQ(readTableHeader(older, kind, firstRow), ForeignFile::none);
    }
}
