#include "export/time_axis.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

constexpr const char* monthNames[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr const char* monthLabels[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* weekdayLabels[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar.
long long daysFromCivil(int year, int month, int day) {
    const long long y = month <= 2 ? year - 1 : year;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

RunTime civilFromDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    RunTime date;
    date.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

int daysInMonth(int year, int month) {
    const long long next =
        month == 12 ? daysFromCivil(year + 1, 1, 1) : daysFromCivil(year, month + 1, 1);
    return static_cast<int>(next - daysFromCivil(year, month, 1));
}

bool validDate(int year, int month, int day) {
    return year >= 1900 && year <= 2199 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

// Hours since 1970 of the run's start.
long long hoursOf(const RunTime& run) {
    return daysFromCivil(run.year, run.month, run.day) * 24 + run.hour;
}

long long floorDiv(long long a, long long b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

std::string dateLabel(long long validHour) {
    const long long days = floorDiv(validHour, 24);
    const RunTime date = civilFromDays(days);
    const long long weekday = ((days % 7) + 7) % 7;
    char text[32];
    std::snprintf(text, sizeof text, "%s %d %s", weekdayLabels[weekday], date.day,
                  monthLabels[date.month - 1]);
    return text;
}

}  // namespace

std::optional<RunTime> readModelRun(std::string_view run) {
    std::istringstream words{std::string(run)};
    std::string time;
    std::string month;
    RunTime start;
    if (!(words >> time >> start.day >> month >> start.year) || time.size() < 2 ||
        time.back() != 'Z') {
        return std::nullopt;
    }
    time.pop_back();
    if (time.size() != 2 && time.size() != 4) {
        return std::nullopt;
    }
    for (const char c : time) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    start.hour = std::stoi(time.substr(0, 2));
    for (int m = 0; m < 12; ++m) {
        if (month == monthNames[m]) {
            start.month = m + 1;
        }
    }
    if (start.hour > 23 || !validDate(start.year, start.month, start.day)) {
        return std::nullopt;
    }
    return start;
}

std::optional<RunTime> readBulletinRun(std::string_view date, int hour) {
    RunTime start;
    char slash1 = 0;
    char slash2 = 0;
    std::istringstream in{std::string(date)};
    if (!(in >> start.month >> slash1 >> start.day >> slash2 >> start.year) || slash1 != '/' ||
        slash2 != '/' || !validDate(start.year, start.month, start.day)) {
        return std::nullopt;
    }
    start.hour = hour;
    return start;
}

double tickHours(double first, double last) {
    const double span = last - first;
    return span <= 24 ? 3 : span <= 48 ? 6 : span <= 96 ? 12 : 24;
}

void setTimeAxis(ChartPanel& panel, double first, double last, const std::optional<RunTime>& run) {
    const double pad = std::max(1.5, (last - first) / 60);
    panel.xMin = first - pad;
    panel.xMax = last + pad;
    panel.xTicks.clear();
    panel.xTickLabels.clear();
    panel.xDayLines.clear();
    const double step = tickHours(first, last);
    // Ticks fall on the clock: at 00, 03, 06 ... UTC, whatever hour the run began.
    const double offset = run ? static_cast<double>(run->hour) : 0;
    for (double tick = std::ceil((first + offset) / step) * step - offset; tick <= last;
         tick += step) {
        panel.xTicks.push_back(tick);
    }
    if (!run) {
        panel.xLabel = "Forecast hour";
        return;
    }
    panel.xLabel = "Valid time (UTC)";
    const long long start = hoursOf(*run);
    long long labelledDay = 0;
    bool labelled = false;
    for (const double tick : panel.xTicks) {
        const long long valid = start + std::llround(tick);
        const long long day = floorDiv(valid, 24);
        char hour[8];
        std::snprintf(hour, sizeof hour, "%02lldZ", valid - day * 24);
        std::string label = hour;
        if (!labelled || day != labelledDay) {
            label += "\n" + dateLabel(valid);
            labelledDay = day;
            labelled = true;
        }
        panel.xTickLabels.push_back(label);
    }
    const double firstBoundary = std::ceil((panel.xMin + offset) / 24) * 24 - offset;
    for (double boundary = firstBoundary; boundary <= panel.xMax; boundary += 24) {
        panel.xDayLines.push_back(boundary);
    }
}

double dayLowHour(int day) {
    return 24.0 * day - dayPeriodHours / 2;
}

double dayHighHour(int day) {
    return 24.0 * day + dayPeriodHours / 2;
}
