#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "export/svg_chart.h"

// Forecast hours on a picture as the valid times a forecaster reads: ticks in whole UTC
// hours that suit the span, dates and weekdays under them, a faint line at each 00 UTC.

/// The start of a model run or of a bulletin set, in UTC.
struct RunTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;
    int hour = 0;
};

/// A run as a model output file names it after RUN: "00Z 11 MAR 2021" or "1330Z 11 MAR
/// 2021" (the words after the year are not looked at). None for any other text.
std::optional<RunTime> readModelRun(std::string_view run);

/// Bulletins of the date "MM/DD/YYYY" (or "M/D/YYYY") from the run at `hour` UTC.
std::optional<RunTime> readBulletinRun(std::string_view date, int hour);

/// Hours between ticks for forecast hours `first` to `last`: 3 up to a day, 6 up to two
/// days, 12 up to four, 24 beyond.
double tickHours(double first, double last);

/// Sets `panel`'s x axis to forecast hours `first` to `last`: with `run`, ticks on the UTC
/// clock labelled with the hour, the date and weekday under each day's first tick, and a
/// line at each 00 UTC; without, ticks at forecast hours.
void setTimeAxis(ChartPanel& panel, double first, double last, const std::optional<RunTime>& run);

/// Where option 1's day `day` (1 to 7) stands on the hours axis of the 1200 UTC bulletins:
/// its low at the middle of the night after the day before (00 to 12 UTC), its high at the
/// middle of the day that follows (12 to 24 UTC).
double dayLowHour(int day);
double dayHighHour(int day);

/// The hours of option 1's 12-hour periods: a night or a day is this long.
inline constexpr double dayPeriodHours = 12;
