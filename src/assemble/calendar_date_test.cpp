#include "assemble/calendar_date.h"

#include <gtest/gtest.h>

#include <string>

TEST(CalendarDate, OneDayHoweverItIsSpelled) {
    CalendarDate plain;
    CalendarDate padded;
    ASSERT_TRUE(readCalendarDate("12/8/2026", plain));
    ASSERT_TRUE(readCalendarDate("12/08/2026", padded));
    EXPECT_EQ(plain, padded);
    EXPECT_EQ(writeCalendarDate(plain), "12/08/2026");
    CalendarDate leap;
    EXPECT_TRUE(readCalendarDate("2/29/2028", leap));
    EXPECT_EQ(writeCalendarDate(leap), "02/29/2028");
}

TEST(CalendarDate, RefusesWhatIsNoDay) {
    const std::string refused[] = {"2/29/2026", "2/30/2028", "13/01/2026", "0/10/2026", "12/0/2026",
                                   "12/08/26", "12-08-2026", "12/08/2026Z", "/08/2026",
                                   "123/1/2026", "1/1/1899", "1/1/2200", "",
                                   // Digits past what an int holds, in each of the three.
                                   "12/08/20260000000", "12/08/99999999999999999999",
                                   "1200000000000/08/2026", "12/0800000000000/2026"};
    for (const std::string& text : refused) {
        CalendarDate date{1, 2, 3};
        EXPECT_FALSE(readCalendarDate(text, date)) << text;
        EXPECT_EQ(date, (CalendarDate{1, 2, 3})) << text;
    }
}

TEST(CalendarDate, PlacesRunWithTheCalendar) {
    const std::string ordered[] = {"1/1/1900",  "2/28/1999", "12/31/2025", "1/1/2026",
                                   "1/31/2026", "2/1/2026",  "12/31/2199"};
    int previous = -1;
    for (const std::string& text : ordered) {
        CalendarDate date;
        ASSERT_TRUE(readCalendarDate(text, date)) << text;
        const int place = calendarPlace(date);
        EXPECT_GT(place, previous) << text;
        EXPECT_LT(place, calendarPlaceCount) << text;
        EXPECT_EQ(dateAtPlace(place), date) << text;
        previous = place;
    }
}
