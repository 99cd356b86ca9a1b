#include "fetch/run_time.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "assemble/calendar_date.h"

std::chrono::sys_days daysOf(const CalendarDate& date) {
    return std::chrono::year_month_day(std::chrono::year(date.year),
                                       std::chrono::month(static_cast<unsigned>(date.month)),
                                       std::chrono::day(static_cast<unsigned>(date.day)));
}

CalendarDate dateOf(std::chrono::sys_days days) {
    const std::chrono::year_month_day day(days);
    return {static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
            static_cast<int>(static_cast<unsigned>(day.day()))};
}

bool readRunTime(std::string_view text, RunTime& run) {
    if (text.size() != 10 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    const auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const std::string date = std::to_string(number(4, 2)) + "/" + std::to_string(number(6, 2)) +
                             "/" + std::string(text.substr(0, 4));
    run.hour = number(8, 2);
    return readCalendarDate(date, run.date) && run.hour < 24;
}

std::string writeRunTime(const RunTime& run) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d", run.date.year, run.date.month,
                  run.date.day, run.hour);
    return text;
}

RunTime hoursBefore(const RunTime& run, int hours) {
    const auto time = std::chrono::sys_days(daysOf(run.date)) + std::chrono::hours(run.hour) -
                      std::chrono::hours(hours);
    const auto day = std::chrono::floor<std::chrono::days>(time);
    return {dateOf(day),
            static_cast<int>(std::chrono::duration_cast<std::chrono::hours>(time - day).count())};
}

RunTime hourNow() {
    RunTime run;
    if (const char* now = std::getenv("WXGUIDE_NOW"); now != nullptr && readRunTime(now, run)) {
        return run;
    }
    const auto time = std::chrono::floor<std::chrono::hours>(std::chrono::system_clock::now());
    const auto day = std::chrono::floor<std::chrono::days>(time);
    return {dateOf(day), static_cast<int>((time - day).count())};
}
