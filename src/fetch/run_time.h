#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "assemble/calendar_date.h"

// Model runs and the hour now, in UTC, as the downloads name them.

/// A model run: its day and its hour in UTC.
struct RunTime {
    CalendarDate date;
    int hour = 0;
    auto operator<=>(const RunTime&) const = default;
};

/// The day of a calendar date, and the date of a day.
std::chrono::sys_days daysOf(const CalendarDate& date);
CalendarDate dateOf(std::chrono::sys_days days);

/// Reads "YYYYMMDDHH"; false for any other text or a time the calendar does not have.
bool readRunTime(std::string_view text, RunTime& run);

/// The run written "YYYYMMDDHH".
std::string writeRunTime(const RunTime& run);

/// The run `hours` before `run`.
RunTime hoursBefore(const RunTime& run, int hours);

/// The hour now in UTC, or the one WXGUIDE_NOW gives as YYYYMMDDHH (for the tests).
RunTime hourNow();
