#include "verify/verify_time.h"

#include <chrono>
#include <cstdio>

namespace {

bool readDigits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::int64_t dayOfDate(const CalendarDate& date) {
    const std::chrono::sys_days days = std::chrono::year_month_day(
        std::chrono::year(date.year), std::chrono::month(static_cast<unsigned>(date.month)),
        std::chrono::day(static_cast<unsigned>(date.day)));
    return days.time_since_epoch().count();
}

CalendarDate dateOfDay(std::int64_t day) {
    const std::chrono::year_month_day date{std::chrono::sys_days(std::chrono::days(day))};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

std::int64_t minutesOf(const CalendarDate& date, int hour, int minute) {
    return (dayOfDate(date) * 24 + hour) * 60 + minute;
}

bool readUtcTime(std::string_view text, std::int64_t& minutes) {
    CalendarDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
    const bool seconds = text.size() == 19 && text[16] == ':' && readDigits(text, 17, 2, second);
    if ((text.size() != 16 && !seconds) || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || !readDigits(text, 0, 4, date.year) ||
        !readDigits(text, 5, 2, date.month) || !readDigits(text, 8, 2, date.day) ||
        !readDigits(text, 11, 2, hour) || !readDigits(text, 14, 2, minute)) {
        return false;
    }
    const std::chrono::year_month_day check(std::chrono::year(date.year),
                                            std::chrono::month(static_cast<unsigned>(date.month)),
                                            std::chrono::day(static_cast<unsigned>(date.day)));
    if (!check.ok() || hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    minutes = minutesOf(date, hour, minute);
    return true;
}

std::int64_t dayOfHour(std::int64_t hour) {
    return hour >= 0 ? hour / 24 : -((-hour + 23) / 24);
}

std::string isoHour(std::int64_t hour) {
    const std::int64_t day = dayOfHour(hour);
    const CalendarDate date = dateOfDay(day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:00Z", date.year, date.month, date.day,
                  static_cast<int>(hour - day * 24));
    return text;
}
