#include "assemble/bulletin_chooser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "blend/bulletin_check.h"
#include "bulletin_text.h"

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

TEST(BulletinChooser, TakesTheNewestDateFoundInFileOrderWithNamBeforeNbs) {
    // Twice: with a newer bulletin at the end, whose date is then the one taken, and without.
    for (const bool newerAlone : {true, false}) {
        SCOPED_TRACE(newerAlone);
        BulletinChoice choice;
        startChoice(choice, StationSet{{"KBKX", "KFSD"}, {0.5, 0.5}}, std::nullopt);
        offer(choice, "KFSD", GuidanceKind::blendShortRange, "12/08/2026");
        offerDay(choice, "12/8/2026", GuidanceKind::blendShortRange);
        offer(choice, "KBKX", GuidanceKind::namMos, "12/08/2026");
        offerDay(choice, "12/07/2026", GuidanceKind::namMos);
        if (newerAlone) {
            offer(choice, "KBKX", GuidanceKind::gfsMos, "12/09/2026");
        }
        // Neither another station, a wrong run nor a wrong date is taken at all.
        EXPECT_FALSE(offer(choice, "KHON", GuidanceKind::gfsMos, "12/10/2026"));
        EXPECT_FALSE(offer(choice, "KBKX", GuidanceKind::other, "12/10/2026"));
        EXPECT_FALSE(offer(choice, "KBKX", GuidanceKind::gfsMos, "12/32/2026"));

        const ChosenBulletins chosen = chooseBulletins(choice);
        ASSERT_TRUE(chosen.date);
        ASSERT_EQ(chosen.completeDates.size(), 2u);
        EXPECT_EQ(writeCalendarDate(chosen.completeDates[0]), "12/08/2026");
        EXPECT_EQ(writeCalendarDate(chosen.completeDates[1]), "12/07/2026");
        if (newerAlone) {
            EXPECT_EQ(writeCalendarDate(*chosen.date), "12/09/2026");
            EXPECT_EQ(chosen.missing.size(), 5u);
            EXPECT_TRUE(chosen.bulletins.empty());
            ASSERT_TRUE(chosen.olderComplete);
            EXPECT_EQ(writeCalendarDate(*chosen.olderComplete), "12/08/2026");
            continue;
        }
        EXPECT_EQ(writeCalendarDate(*chosen.date), "12/08/2026");
        EXPECT_TRUE(chosen.missing.empty());
        EXPECT_EQ(headers(chosen),
                  (std::vector<std::string>{"KBKX NAM 12/08/2026", "KFSD NBS 12/08/2026",
                                            "KBKX GFS 12/8/2026", "KFSD GFS 12/8/2026",
                                            "KBKX GFSX 12/8/2026", "KFSD GFSX 12/8/2026"}));
        ASSERT_TRUE(chosen.olderComplete);
        EXPECT_EQ(writeCalendarDate(*chosen.olderComplete), "12/07/2026");
    }
}

TEST(BulletinChooser, NamesWhatTheWantedDateLacks) {
    BulletinChoice choice;
    CalendarDate wanted;
    ASSERT_TRUE(readCalendarDate("12/08/2026", wanted));
    startChoice(choice, StationSet{{"KBKX", "KFSD"}, {0.5, 0.5}}, wanted);
    offerDay(choice, "12/07/2026", GuidanceKind::namMos);
    offer(choice, "KBKX", GuidanceKind::blendShortRange, "12/08/2026");
    offer(choice, "KFSD", GuidanceKind::gfsMos, "12/08/2026");
    offer(choice, "KBKX", GuidanceKind::gfsxMos, "12/08/2026");
    offer(choice, "KFSD", GuidanceKind::gfsxMos, "12/08/2026");
    offerDay(choice, "12/09/2026", GuidanceKind::namMos);

    const ChosenBulletins chosen = chooseBulletins(choice);
    EXPECT_TRUE(chosen.bulletins.empty());
    EXPECT_EQ(chosen.missing, (std::vector<std::string>{"KFSD NAM or NBS 1200 UTC 12/08/2026",
                                                        "KBKX GFS 1200 UTC 12/08/2026"}));
    ASSERT_EQ(chosen.completeDates.size(), 2u);
    EXPECT_EQ(writeCalendarDate(chosen.completeDates[1]), "12/07/2026");
    // Only the wanted date was kept, not the newer one.
    EXPECT_EQ(choice.keptPlace, calendarPlace(wanted));
}

TEST(BulletinChooser, KeepsTheFirstCopyBothReadersRead) {
    const std::vector<TestBulletin> valid = validTestBulletins();
    const std::string whole = testBulletinText({valid[4]});  // KBKX AVN 12/08/2026
    const std::string cut = whole.substr(0, whole.find("WDR"));
    TestBulletin marked = valid[4];
    marked.rows.push_back("SECOND");
    const std::string alsoWhole = testBulletinText({marked});
    const std::string header = valid[4].header;

    BulletinChoice choice;
    startChoice(choice, fixedStationSet(), std::nullopt);
    for (const std::string& text : {cut, whole, alsoWhole}) {
        GuidanceHeader read;
        ASSERT_TRUE(readGuidanceHeader(header, read));
        int slot = 0;
        int place = 0;
        ASSERT_TRUE(placeOfBulletin(choice, read, slot, place));
        FoundBulletin bulletin;
        bulletin.text = text;
        offerBulletin(choice, slot, place, bulletin);
    }
    const FoundBulletin& kept = choice.kept[0 * kindsPerStation + 2];
    EXPECT_EQ(kept.text, whole);
    EXPECT_TRUE(kept.readable);

    // A cut copy alone is still kept, for option 1's reading to name what it lacks.
    startChoice(choice, fixedStationSet(), std::nullopt);
    GuidanceHeader read;
    ASSERT_TRUE(readGuidanceHeader(header, read));
    int slot = 0;
    int place = 0;
    ASSERT_TRUE(placeOfBulletin(choice, read, slot, place));
    FoundBulletin bulletin;
    bulletin.text = cut;
    offerBulletin(choice, slot, place, bulletin);
    EXPECT_EQ(choice.kept[static_cast<std::size_t>(slot)].text, cut);
    EXPECT_FALSE(choice.kept[static_cast<std::size_t>(slot)].readable);
}

TEST(BulletinChooser, SixtyThousandDatesOfEightStationsStayWithinTheBudget) {
    const StationSet eight{{"KBKX", "KHON", "KMHE", "KFSD", "KSUX", "KOMA", "KDSM", "KMSP"},
                           std::vector<double>(8, 0.125)};
    BulletinChoice choice;
    startChoice(choice, eight, std::nullopt);
    std::size_t most = choiceBytes(choice);
    const std::string large(maxBulletinLength - 100, 'x');
    int complete = 0;
    // Days from 1/1/1900 on, every one of them, the newest last; each day whole, so every
    // complete day is listed or counted.
    for (int place = 0, days = 0; days < 60000; ++place) {
        const CalendarDate date = dateAtPlace(place);
        CalendarDate check;
        if (!readCalendarDate(writeCalendarDate(date), check)) {
            continue;  // the 31st of a shorter month
        }
        ++days;
        const bool whole = days % 1000 == 0;
        for (const std::string& station : eight.ids) {
            for (const GuidanceKind kind :
                 {GuidanceKind::namMos, GuidanceKind::gfsMos, GuidanceKind::gfsxMos}) {
                if (whole || kind == GuidanceKind::namMos) {
                    offer(choice, std::string(station), kind, writeCalendarDate(date),
                          whole ? large.size() : 10);
                }
            }
        }
        complete += whole ? 1 : 0;
        most = std::max(most, choiceBytes(choice));
    }
    EXPECT_LE(most, choiceBudget);
    const ChosenBulletins chosen = chooseBulletins(choice);
    EXPECT_EQ(chosen.completeDates.size(), listedDates);
    EXPECT_EQ(chosen.completeDates.size() + chosen.moreCompleteDates,
              static_cast<std::size_t>(complete));
    EXPECT_EQ(chosen.bulletins.size(), 24u);  // the newest day is a whole one
}
