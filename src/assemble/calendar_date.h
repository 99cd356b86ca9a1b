#pragma once

#include <compare>
#include <string>
#include <string_view>

// Dates as the guidance headers write them ("12/8/2026", "12/08/2026"): one calendar day
// however it is spelled.

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    auto operator<=>(const CalendarDate&) const = default;
};

/// The first and last years a guidance date may name; any other year is not a date.
inline constexpr int firstGuidanceYear = 1900;
inline constexpr int lastGuidanceYear = 2199;

/// Reads "M/D/YYYY" (month and day with or without a leading zero). False for any other
/// text, for a day the calendar does not have, or for a year outside the guidance years.
bool readCalendarDate(std::string_view text, CalendarDate& date);

/// The date as "MM/DD/YYYY".
std::string writeCalendarDate(const CalendarDate& date);

/// Every guidance date has a place 0 to calendarPlaceCount - 1, later dates higher.
inline constexpr int calendarPlaceCount = (lastGuidanceYear - firstGuidanceYear + 1) * 12 * 31;
int calendarPlace(const CalendarDate& date);
CalendarDate dateAtPlace(int place);
