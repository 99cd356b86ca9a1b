// Calendar dates as a header or --date writes them: any text is read or refused, and a
// date read is a real day that is written, read again and placed the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "assemble/calendar_date.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CalendarDate date;
    if (!readCalendarDate(text, date)) {
        return 0;
    }
    CalendarDate again;
    const int place = calendarPlace(date);
    if (!readCalendarDate(writeCalendarDate(date), again) || again != date || place < 0 ||
        place >= calendarPlaceCount || dateAtPlace(place) != date) {
        std::abort();
    }
    return 0;
}
