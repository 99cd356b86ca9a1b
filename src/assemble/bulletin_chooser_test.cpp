#include "assemble/bulletin_chooser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::string_view twoStations[] = {"KBKX", "KFSD"};

// Offers a bulletin whose text names its header, as the reading of a product would.
bool offer(BulletinChoice& choice, const std::string& station, GuidanceKind kind,
           const std::string& date, std::size_t padding = 0) {
    GuidanceHeader header;
    header.kind = kind;
    header.station = station;
    header.date = date;
    header.run = kind == GuidanceKind::gfsxMos ? "0000" : "1200";
    int slot = 0;
    int place = 0;
    if (!placeOfBulletin(choice, header, slot, place)) {
        return false;
    }
    const char* const names[] = {"NAM", "NBS", "GFS", "GFSX", "?"};
    FoundBulletin bulletin;
    bulletin.text = station + " " + names[static_cast<int>(kind)] + " " + date + "\n" +
                    std::string(padding, 'x');
    offerBulletin(choice, slot, place, bulletin);
    return true;
}

void offerDay(BulletinChoice& choice, const std::string& date, GuidanceKind first) {
    for (const std::string_view station : twoStations) {
        for (const GuidanceKind kind : {first, GuidanceKind::gfsMos, GuidanceKind::gfsxMos}) {
            offer(choice, std::string(station), kind, date);
        }
    }
}

std::vector<std::string> headers(const ChosenBulletins& chosen) {
    std::vector<std::string> lines;
    for (const FoundBulletin* bulletin : chosen.bulletins) {
        lines.push_back(bulletin->text.substr(0, bulletin->text.find('\n')));
    }
    return lines;
}

}  // namespace

TEST(BulletinChooser, TakesTheNewestCompleteDateInFileOrderWithNamBeforeNbs) {
    BulletinChoice choice;
    startChoice(choice, twoStations, std::nullopt);
    offer(choice, "KFSD", GuidanceKind::blendShortRange, "12/08/2026");
    offerDay(choice, "12/8/2026", GuidanceKind::blendShortRange);
    offer(choice, "KBKX", GuidanceKind::namMos, "12/08/2026");
    offerDay(choice, "12/07/2026", GuidanceKind::namMos);
    offer(choice, "KBKX", GuidanceKind::gfsMos, "12/09/2026");  // newer, but alone
    // Neither another station, a wrong run nor a wrong date is taken at all.
    EXPECT_FALSE(offer(choice, "KHON", GuidanceKind::gfsMos, "12/08/2026"));
    EXPECT_FALSE(offer(choice, "KBKX", GuidanceKind::other, "12/08/2026"));
    EXPECT_FALSE(offer(choice, "KBKX", GuidanceKind::gfsMos, "12/32/2026"));

    const ChosenBulletins chosen = chooseBulletins(choice);
    ASSERT_TRUE(chosen.date);
    EXPECT_EQ(writeCalendarDate(*chosen.date), "12/08/2026");
    EXPECT_TRUE(chosen.missing.empty());
    EXPECT_EQ(headers(chosen),
              (std::vector<std::string>{"KBKX NAM 12/08/2026", "KFSD NBS 12/08/2026",
                                        "KBKX GFS 12/8/2026", "KFSD GFS 12/8/2026",
                                        "KBKX GFSX 12/8/2026", "KFSD GFSX 12/8/2026"}));
    ASSERT_EQ(chosen.completeDates.size(), 2u);
    EXPECT_EQ(writeCalendarDate(chosen.completeDates[1]), "12/07/2026");
}

TEST(BulletinChooser, NamesWhatTheWantedDateLacks) {
    BulletinChoice choice;
    CalendarDate wanted;
    ASSERT_TRUE(readCalendarDate("12/08/2026", wanted));
    startChoice(choice, twoStations, wanted);
    offerDay(choice, "12/07/2026", GuidanceKind::namMos);
    offer(choice, "KBKX", GuidanceKind::blendShortRange, "12/08/2026");
    offer(choice, "KFSD", GuidanceKind::gfsMos, "12/08/2026");
    offer(choice, "KBKX", GuidanceKind::gfsxMos, "12/08/2026");
    offer(choice, "KFSD", GuidanceKind::gfsxMos, "12/08/2026");

    const ChosenBulletins chosen = chooseBulletins(choice);
    EXPECT_TRUE(chosen.bulletins.empty());
    EXPECT_EQ(chosen.missing, (std::vector<std::string>{"KFSD NAM or NBS 1200 UTC 12/08/2026",
                                                        "KBKX GFS 1200 UTC 12/08/2026"}));
    ASSERT_EQ(chosen.completeDates.size(), 1u);
    EXPECT_EQ(writeCalendarDate(chosen.completeDates[0]), "12/07/2026");
    // Only the wanted date was kept.
    EXPECT_EQ(choice.kept.size(), 1u);
}

TEST(BulletinChooser, KeepsWithinItsBudgetAndSaysWhenTheChosenDateWasLetGo) {
    BulletinChoice choice;
    startChoice(choice, twoStations, std::nullopt);
    // A complete day, then many newer days each short of a bulletin and large enough to
    // pass the budget: the complete day stays.
    offerDay(choice, "1/1/2026", GuidanceKind::namMos);
    const std::size_t large = keptBulletinBudget / 40;
    for (int day = 2; day <= 28; ++day) {
        const std::string date = "1/" + std::to_string(day) + "/2026";
        offer(choice, "KBKX", GuidanceKind::namMos, date, large);
        offer(choice, "KFSD", GuidanceKind::namMos, date, large);
    }
    EXPECT_LE(choice.keptBytes, keptBulletinBudget);
    ChosenBulletins chosen = chooseBulletins(choice);
    EXPECT_EQ(writeCalendarDate(*chosen.date), "01/01/2026");
    EXPECT_EQ(chosen.bulletins.size(), 6u);

    // A day let go for room that turns out whole later cannot be written, and says so.
    for (const GuidanceKind kind : {GuidanceKind::gfsMos, GuidanceKind::gfsxMos}) {
        offer(choice, "KBKX", kind, "1/2/2026");
        offer(choice, "KFSD", kind, "1/2/2026");
    }
    chosen = chooseBulletins(choice);
    EXPECT_EQ(writeCalendarDate(*chosen.date), "01/02/2026");
    EXPECT_TRUE(chosen.dateLetGo);
    EXPECT_TRUE(chosen.bulletins.empty());
}
