#include "verify/verify_time.h"

#include <gtest/gtest.h>

TEST(VerifyTime, ReadsTheArchivesTimesAndRefusesOthers) {
    std::int64_t minutes = 0;
    ASSERT_TRUE(readUtcTime("2026-12-08 11:53", minutes));
    EXPECT_EQ(minutes, minutesOf({2026, 12, 8}, 11, 53));
    ASSERT_TRUE(readUtcTime("1970-01-01 01:02:59", minutes));
    EXPECT_EQ(minutes, 62);
    for (const char* text :
         {"2026-12-08T11:53", "2026-12-8 11:53", "2026-02-30 00:00", "2026-12-08 24:00",
          "2026-12-08 11:60", "2026-12-08 11:53:6", "2026-12-08 11:53:60", ""}) {
        EXPECT_FALSE(readUtcTime(text, minutes)) << text;
    }
}

TEST(VerifyTime, DaysAndHoursOnBothSidesOfTheEpoch) {
    EXPECT_EQ(dayOfHour(0), 0);
    EXPECT_EQ(dayOfHour(23), 0);
    EXPECT_EQ(dayOfHour(24), 1);
    EXPECT_EQ(dayOfHour(-1), -1);
    EXPECT_EQ(dayOfHour(-24), -1);
    EXPECT_EQ(dayOfHour(-25), -2);
    const std::int64_t day = dayOfDate({2024, 2, 29});
    EXPECT_EQ(dateOfDay(day + 1), (CalendarDate{2024, 3, 1}));
    EXPECT_EQ(isoHour(hourOfDay(day) + 18), "2024-02-29T18:00Z");
}
