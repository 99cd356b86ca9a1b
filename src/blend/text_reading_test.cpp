#include "blend/text_reading.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bulletin_text.h"

namespace {

std::string textOf(const TestBulletin& bulletin) {
    return testBulletinText({bulletin});
}

}  // namespace

TEST(BulletinText, ReadsAsOption1ReadsTheFile) {
    const struct {
        const char* what;
        std::function<void(std::vector<TestBulletin>&)> change;
        TextReading reading;
        std::string problem;
    } cases[] = {
        {"valid", [](std::vector<TestBulletin>&) {}, TextReading::read, ""},
        {"an NBS first group", [](std::vector<TestBulletin>& b) { b[1] = testBlendBulletin(1); },
         TextReading::read, ""},
        {"DPT missing", [](std::vector<TestBulletin>& b) { removeTestRow(b[0], "DPT"); },
         TextReading::rowUnread,
         "The DPT row of bulletin 1 (KBKX, ETA group) is missing or could not be read."},
        {"WND cut", [](std::vector<TestBulletin>& b) { testRow(b[10], "WND").resize(20); },
         TextReading::rowUnread,
         "The WND row of bulletin 11 (KMHE, MRF group) is missing or could not be read."},
        {"NBS SKY missing",
         [](std::vector<TestBulletin>& b) {
             b[2] = testBlendBulletin(2);
             removeTestRow(b[2], "SKY");
         },
         TextReading::rowUnread,
         "The SKY row of bulletin 3 (KMHE, NBS) is missing or could not be read."},
        {"wrong run",
         [](std::vector<TestBulletin>& b) {
             b[5].header = testHeader("KHON", "AVN", "12/08/2026", "0000");
         },
         TextReading::refused,
         "Bulletin 6 should be the AVN or GFS 1200 UTC bulletin of KHON, but its header reads "
         "\"KHON AVN MOS GUIDANCE 12/08/2026 0000\"."},
    };
    for (const auto& given : cases) {
        std::vector<TestBulletin> bulletins = validTestBulletins();
        given.change(bulletins);
        std::string problem;
        EXPECT_EQ(readBulletinText(testBulletinText(bulletins), fixedStationSet(), problem),
                  given.reading)
            << given.what;
        EXPECT_EQ(problem, given.problem) << given.what;
    }
}

TEST(BulletinText, ABulletinReadsAloneAsInItsPlace) {
    const std::vector<TestBulletin> valid = validTestBulletins();
    // Each valid bulletin, in its group, followed by the station word after it in the file.
    for (int bulletin = 0; bulletin < 12; ++bulletin) {
        const std::string next = bulletin == 11 ? "" : testStations[(bulletin + 1) % 4];
        EXPECT_TRUE(bulletinReadsAlone(textOf(valid[static_cast<std::size_t>(bulletin)]),
                                       bulletin / 4, next))
            << bulletin;
    }
    EXPECT_TRUE(bulletinReadsAlone(textOf(testBlendBulletin(0)), 0, "KHON"));

    const struct {
        const char* what;
        std::string text;
        int group;
        std::string next;
    } unreadable[] = {
        {"no P12",
         [] {
             TestBulletin b = validTestBulletins()[4];
             removeTestRow(b, "P12");
             return textOf(b);
         }(),
         1, "KHON"},
        {"cut short", textOf(valid[0]).substr(0, textOf(valid[0]).size() / 2), 0, "KHON"},
        {"the next station inside it",
         [] {
             TestBulletin b = validTestBulletins()[0];
             b.rows.insert(b.rows.begin() + 1, "KHON");
             return textOf(b);
         }(),
         0, "KHON"},
        {"another group's bulletin", textOf(valid[8]), 1, "KHON"},
        {"NBS without WSP",
         [] {
             TestBulletin b = testBlendBulletin(0);
             removeTestRow(b, "WSP");
             return textOf(b);
         }(),
         0, "KHON"},
    };
    for (const auto& given : unreadable) {
        EXPECT_FALSE(bulletinReadsAlone(given.text, given.group, given.next)) << given.what;
    }
}
