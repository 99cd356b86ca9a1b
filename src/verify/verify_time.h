#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "assemble/calendar_date.h"

// Times of the verification counted from 1970-01-01 00 UTC: minutes for a report's valid
// time, whole hours for nominal hours, forecast hours and periods, days for dates.

/// Minutes from the epoch of a UTC time.
std::int64_t minutesOf(const CalendarDate& date, int hour, int minute);

/// Reads "YYYY-MM-DD HH:MM", with ":SS" after it or not (the archives' UTC times).
bool readUtcTime(std::string_view text, std::int64_t& minutes);

/// The day of `hour` (floor: hour -1 is the day before the epoch).
std::int64_t dayOfHour(std::int64_t hour);

/// The first hour of `day`.
inline std::int64_t hourOfDay(std::int64_t day) {
    return day * 24;
}

/// The days from the epoch of a date, and back.
std::int64_t dayOfDate(const CalendarDate& date);
CalendarDate dateOfDay(std::int64_t day);

/// The hour written as the archives take it: "2026-10-01T00:00Z".
std::string isoHour(std::int64_t hour);
