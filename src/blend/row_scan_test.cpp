#include "blend/row_scan.h"

#include <gtest/gtest.h>

#include <functional>

#include "blend/cloud_wind_reader.h"
#include "blend/temp_precip_reader.h"
#include "bulletin_text.h"
#include "test_support.h"

namespace {

// Both readers on one file, as the run calls them.
struct BothReads {
    bool tempPrecip = false;
    bool cloudWind = false;
    UnreadRow unread;
    TempPrecipElements eta{};
    TempPrecipElements avn{};
    MrfTempPrecipElements mrf{};
    CloudWindElements etaCloudWind{};
    CloudWindElements avnCloudWind{};
    MrfCloudWindElements mrfCloudWind{};
};

BothReads readBoth(const std::vector<TestBulletin>& bulletins) {
    ScopedTempDirectory dir;
    writeFile("bulletins.txt", testBulletinText(bulletins));
    BothReads read;
    DataFile data;
    openPlainDataFile(data, "bulletins.txt");
    BulletinVerdict verdict;
    BulletinFileBounds bounds;
    EXPECT_TRUE(checkBulletinFile(data, verdict, bounds)) << explainVerdict(verdict);
    read.tempPrecip = readTempPrecipElements(read.eta, read.avn, read.mrf, data, bounds,
                                             fixedStationSet(), read.unread);
    if (read.tempPrecip) {
        read.cloudWind =
            readCloudWindElements(read.etaCloudWind, read.avnCloudWind, read.mrfCloudWind, data,
                                  bounds, fixedStationSet(), read.unread);
    }
    return read;
}

using Edit = std::function<void(std::vector<TestBulletin>&)>;

Edit removeRow(int bulletin, const char* label) {
    return [=](std::vector<TestBulletin>& b) {
        removeTestRow(b[static_cast<std::size_t>(bulletin)], label);
    };
}

Edit replaceRow(int bulletin, const char* label, std::string row) {
    return [=](std::vector<TestBulletin>& b) {
        testRow(b[static_cast<std::size_t>(bulletin)], label) = row;
    };
}

// The first group as NBS bulletins, then `edit`.
Edit blend(const Edit& edit) {
    return [=](std::vector<TestBulletin>& b) {
        for (int bulletin = 0; bulletin < 4; ++bulletin) {
            b[static_cast<std::size_t>(bulletin)] = testBlendBulletin(bulletin);
        }
        edit(b);
    };
}

}  // namespace

TEST(BulletinReaders, AnUnreadableRowIsToldWithItsBulletinNeverTakenFromTheNext) {
    struct Case {
        Edit edit;
        bool cloudWind;  // which reader tells it
        int bulletin;
        const char* label;
    };
    std::string fhrTo57 = testBlendBulletin(1).rows[1].substr(0, 4 + 3 * 18);
    std::string txnBlank36 = testBlendBulletin(0).rows[2];
    txnBlank36.replace(4 + 3 * 10, 3, "   ");
    std::string wspLetter = testBlendBulletin(3).rows[6];
    wspLetter.replace(4 + 3 * 1, 3, " 1O");
    const Case cases[] = {
        {removeRow(5, "N/X"), false, 5, "N/X"},
        {removeRow(5, "DPT"), false, 5, "DPT"},
        {removeRow(5, "P12"), false, 5, "P12"},
        {removeRow(10, "X/N"), false, 10, "X/N"},
        {removeRow(10, "DPT"), false, 10, "DPT"},
        {removeRow(11, "P24"), false, 11, "P24"},  // the last bulletin ends with the file
        {removeRow(11, "CLD"), true, 11, "CLD"},
        {removeRow(3, "CLD"), true, 3, "CLD"},
        {removeRow(3, "WDR"), true, 3, "WDR"},
        {removeRow(3, "WSP"), true, 3, "WSP"},
        {removeRow(11, "WND"), true, 11, "WND"},
        {replaceRow(1, "N/X", " N/X 12 M 14 15"), false, 1, "N/X"},
        {replaceRow(3, "DPT", testShortRow("DPT", 3, 20, 18)), false, 3, "DPT"},
        {replaceRow(6, "P12", " P12 10 20 30"), false, 6, "P12"},  // the next header follows
        {replaceRow(1, "WDR", testShortRow("WDR", 1, 60, 18)), true, 1, "WDR"},
        {replaceRow(9, "WND", " WND 13| 15 12| 10 14|  8 NA| 12 15| 10 12| 14 12| 11"), true, 9,
         "WND"},
        {blend(removeRow(2, "SKY")), true, 2, "SKY"},
        {blend(removeRow(0, "FHR")), false, 0, "FHR"},
        {blend(replaceRow(1, "FHR", fhrTo57)), false, 1, "FHR"},
        {blend(replaceRow(0, "TXN", txnBlank36)), false, 0, "TXN"},
        {blend(replaceRow(3, "WSP", wspLetter)), true, 3, "WSP"},
        {blend(removeRow(3, "P12")), false, 3, "P12"},
    };
    for (const Case& c : cases) {
        std::vector<TestBulletin> bulletins = validTestBulletins();
        c.edit(bulletins);
        const BothReads read = readBoth(bulletins);
        EXPECT_EQ(read.tempPrecip, c.cloudWind) << c.label << " of " << c.bulletin;
        EXPECT_FALSE(read.cloudWind) << c.label << " of " << c.bulletin;
        EXPECT_EQ(read.unread.bulletin, c.bulletin) << c.label;
        EXPECT_EQ(read.unread.label, c.label) << c.bulletin;
        EXPECT_EQ(read.unread.blend, c.bulletin < 4 && bulletins[0].header[0] == '\x1e');
    }
}

TEST(BulletinReaders, NbsValuesComeFromTheFieldsUnderTheirHours) {
    std::vector<TestBulletin> bulletins = validTestBulletins();
    blend([](std::vector<TestBulletin>&) {})(bulletins);
    // Another order, with a MET bulletin beside them in the group.
    std::swap(bulletins[0].rows[1], bulletins[0].rows[6]);
    bulletins[2] = validTestBulletins()[2];
    const BothReads read = readBoth(bulletins);
    ASSERT_TRUE(read.tempPrecip);
    ASSERT_TRUE(read.cloudWind);
    for (const int station : {0, 1, 3}) {
        const auto s = static_cast<std::size_t>(station);
        for (std::size_t k = 0; k < 4; ++k) {
            const int hour = 24 + 12 * static_cast<int>(k);
            EXPECT_EQ(read.eta[s][k], testBlendValue(station, 0, hour));
            EXPECT_EQ(read.eta[s][4 + k], testBlendValue(station, 20, hour));
            EXPECT_EQ(read.eta[s][8 + k], testBlendValue(station, 40, hour));
        }
        for (std::size_t n = 0; n < 19; ++n) {
            const int hour = 6 + 3 * static_cast<int>(n);
            EXPECT_EQ(read.etaCloudWind[s][n], testBlendValue(station, 0, hour) / 10.0);
            EXPECT_EQ(read.etaCloudWind[s][19 + n], testBlendValue(station, 60, hour));
            EXPECT_EQ(read.etaCloudWind[s][38 + n], testBlendValue(station, 80, hour));
        }
    }
    // The MET bulletin among them is read as before.
    EXPECT_EQ(read.eta[2][0], testValue(2, 0, 1));
    EXPECT_EQ(read.etaCloudWind[2][19], testValue(2, 60, 1));
}

TEST(BulletinReaders, RowsNotedByTheCheckReadAsASearchFromTheBodyWould) {
    // Lines put before a bulletin's rows: padding with lookalikes, a row label standing
    // inside a line, a row out of its order.
    const std::string padding = " N/XX CLD: XN/X 5CLD N/X/ X/NN\n FOG 12 CL OV\n";
    const std::pair<int, std::string> cases[] = {
        {0, padding},
        {5, padding + padding},
        {9, padding},
        {2, testRow(validTestBulletins()[2], "CLD")},
        {1, " winds N/X 1 2 3 4 then"},
        {6, " CLD OV OV"},
        {10, " X/N 7 8|"},
    };
    const auto readWith = [](const std::string& text, const BulletinFileBounds& bounds) {
        BothReads read;
        read.tempPrecip = readTempPrecipElements(read.eta, read.avn, read.mrf, text, bounds,
                                                 fixedStationSet(), read.unread);
        read.cloudWind =
            readCloudWindElements(read.etaCloudWind, read.avnCloudWind, read.mrfCloudWind, text,
                                  bounds, fixedStationSet(), read.unread);
        return read;
    };
    for (const auto& [bulletin, before] : cases) {
        std::vector<TestBulletin> bulletins = validTestBulletins();
        std::vector<std::string>& rows = bulletins[static_cast<std::size_t>(bulletin)].rows;
        rows.insert(rows.begin(), before);
        const std::string text = testBulletinText(bulletins);
        BulletinVerdict verdict;
        BulletinFileBounds noted;
        ASSERT_TRUE(checkBulletinText(text, verdict, noted)) << explainVerdict(verdict);
        // The check noted where the first N/X (X/N) and the first CLD stand as words.
        const RowPlaces& places = noted[static_cast<std::size_t>(bulletin)].rows;
        for (const std::size_t row :
             {bulletin < 8 ? std::size_t{0} : std::size_t{1}, std::size_t{2}}) {
            ASSERT_NE(places[row], noScanLimit) << bulletin;
            const std::size_t word = text.find(" " + std::string(mosRowLabels[row]) + " ",
                                               noted[static_cast<std::size_t>(bulletin)].bodyStart);
            EXPECT_EQ(places[row], word + 1) << bulletin;
        }
        BulletinFileBounds searched = noted;
        for (BulletinBounds& bounds : searched) {
            bounds.rows = noRowPlaces;
        }
        const BothReads fromNotes = readWith(text, noted);
        const BothReads fromSearch = readWith(text, searched);
        EXPECT_EQ(fromNotes.tempPrecip, fromSearch.tempPrecip) << bulletin;
        EXPECT_EQ(fromNotes.cloudWind, fromSearch.cloudWind) << bulletin;
        EXPECT_EQ(fromNotes.unread.bulletin, fromSearch.unread.bulletin) << bulletin;
        EXPECT_EQ(fromNotes.unread.label, fromSearch.unread.label) << bulletin;
        EXPECT_EQ(fromNotes.eta, fromSearch.eta) << bulletin;
        EXPECT_EQ(fromNotes.avn, fromSearch.avn) << bulletin;
        EXPECT_EQ(fromNotes.mrf, fromSearch.mrf) << bulletin;
        EXPECT_EQ(fromNotes.etaCloudWind, fromSearch.etaCloudWind) << bulletin;
        EXPECT_EQ(fromNotes.avnCloudWind, fromSearch.avnCloudWind) << bulletin;
        EXPECT_EQ(fromNotes.mrfCloudWind, fromSearch.mrfCloudWind) << bulletin;
    }
}
