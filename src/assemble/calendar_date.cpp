#include "assemble/calendar_date.h"

namespace {

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Reads 1 to `maxDigits` digits up to `stop` (or the end); false for anything else. A
// longer run of digits is refused before it is added up, so no length overflows `value`.
bool readNumber(std::string_view& text, std::size_t maxDigits, char stop, int& value) {
    std::size_t digits = 0;
    value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        if (digits == maxDigits) {
            return false;
        }
        value = value * 10 + (text[digits] - '0');
        ++digits;
    }
    if (digits == 0) {
        return false;
    }
    text.remove_prefix(digits);
    if (stop == '\0') {
        return text.empty();
    }
    if (text.empty() || text.front() != stop) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

void appendTwoDigits(std::string& text, int value) {
    text += static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
}

}  // namespace

bool readCalendarDate(std::string_view text, CalendarDate& date) {
    CalendarDate read;
    if (!readNumber(text, 2, '/', read.month) || !readNumber(text, 2, '/', read.day) ||
        !readNumber(text, 4, '\0', read.year)) {
        return false;
    }
    if (read.year < firstGuidanceYear || read.year > lastGuidanceYear || read.month < 1 ||
        read.month > 12 || read.day < 1 || read.day > daysInMonth(read.year, read.month)) {
        return false;
    }
    date = read;
    return true;
}

std::string writeCalendarDate(const CalendarDate& date) {
    std::string text;
    appendTwoDigits(text, date.month);
    text += '/';
    appendTwoDigits(text, date.day);
    text += '/';
    text += std::to_string(date.year);
    return text;
}

int calendarPlace(const CalendarDate& date) {
    return ((date.year - firstGuidanceYear) * 12 + date.month - 1) * 31 + date.day - 1;
}

CalendarDate dateAtPlace(int place) {
    return {firstGuidanceYear + place / (12 * 31), place / 31 % 12 + 1, place % 31 + 1};
}
