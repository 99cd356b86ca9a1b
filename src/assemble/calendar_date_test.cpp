#include "assemble/calendar_date.h"

#include <gtest/gtest.h>

#include <string>

// Every text a header or --date may hold: the day it reads as ("" when it is refused).
TEST(CalendarDate, ReadsEveryCalendarDayAndNothingElse) {
    const struct {
        const char* text;
        const char* written;
    } cases[] = {
        {"12/8/2026", "12/08/2026"},
        {"12/08/2026", "12/08/2026"},
        {"1/1/1900", "01/01/1900"},
        {"12/31/2199", "12/31/2199"},
        {"1/1/1899", ""},
        {"1/1/2200", ""},
        {"12/31/1899", ""},
        // Leap years: every fourth, not the hundredth, yet the four hundredth.
        {"2/29/2024", "02/29/2024"},
        {"2/29/2000", "02/29/2000"},
        {"2/29/2028", "02/29/2028"},
        {"2/29/1900", ""},
        {"2/29/2100", ""},
        {"2/29/2026", ""},
        {"2/30/2024", ""},
        {"2/28/2100", "02/28/2100"},
        // The end of every month, and the day after it.
        {"1/31/2026", "01/31/2026"},
        {"1/32/2026", ""},
        {"3/31/2026", "03/31/2026"},
        {"3/32/2026", ""},
        {"4/30/2026", "04/30/2026"},
        {"4/31/2026", ""},
        {"5/31/2026", "05/31/2026"},
        {"5/32/2026", ""},
        {"6/30/2026", "06/30/2026"},
        {"6/31/2026", ""},
        {"7/31/2026", "07/31/2026"},
        {"7/32/2026", ""},
        {"8/31/2026", "08/31/2026"},
        {"8/32/2026", ""},
        {"9/30/2026", "09/30/2026"},
        {"9/31/2026", ""},
        {"10/31/2026", "10/31/2026"},
        {"10/32/2026", ""},
        {"11/30/2026", "11/30/2026"},
        {"11/31/2026", ""},
        {"12/31/2026", "12/31/2026"},
        {"12/32/2026", ""},
        // Day and month 0, month 13.
        {"12/0/2026", ""},
        {"0/10/2026", ""},
        {"13/01/2026", ""},
        {"00/00/2026", ""},
        // Digit runs: one or two for month and day, four for the year, nothing around them.
        {"01/01/2026", "01/01/2026"},
        {"001/1/2026", ""},
        {"1/001/2026", ""},
        {"1/1/02026", ""},
        {"1/1/226", ""},
        {"12/08/26", ""},
        {"123/1/2026", ""},
        {"12-08-2026", ""},
        {"12/08/2026Z", ""},
        {"12/08/2026/", ""},
        {" 12/08/2026", ""},
        {"/08/2026", ""},
        {"12//2026", ""},
        {"12/08/", ""},
        {"12/08", ""},
        {"+1/1/2026", ""},
        {"", ""},
        // Digits past what an int holds, in each of the three.
        {"12/08/20260000000", ""},
        {"12/08/99999999999999999999", ""},
        {"1200000000000/08/2026", ""},
        {"12/0800000000000/2026", ""},
    };
    for (const auto& c : cases) {
        CalendarDate date{1, 2, 3};
        const bool read = readCalendarDate(c.text, date);
        EXPECT_EQ(read, *c.written != '\0') << c.text;
        if (read) {
            EXPECT_EQ(writeCalendarDate(date), c.written) << c.text;
        } else {
            EXPECT_EQ(date, (CalendarDate{1, 2, 3})) << c.text;  // left as it was
        }
    }
}

TEST(CalendarDate, PlacesRunWithTheCalendar) {
    // Around the leap days too: 2/29 lies between 2/28 and 3/1.
    const std::string ordered[] = {"1/1/1900",  "2/28/1900", "3/1/1900", "2/28/1999",
                                   "2/28/2000", "2/29/2000", "3/1/2000", "12/31/2025",
                                   "1/1/2026",  "1/31/2026", "2/1/2026", "12/31/2199"};
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
