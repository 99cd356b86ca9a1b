#include "scan/scan_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

// A written exponent saturates beyond any count of digits a file can hold; the sum is then
// clamped to where every double lies far inside.
constexpr std::int64_t writtenExponentLimit = 100000000000000000;
constexpr std::int64_t exponentLimit = 1000000;

// Consumes a leading sign, as extraction does for both integers and decimals; `c` becomes
// the byte after it. True for a minus.
bool scanSign(ScanFile& scan, int& c) {
    const bool negative = c == '-';
    if (c == '-' || c == '+') {
        ++scan.next;
        c = scanPeek(scan);
    }
    return negative;
}

// Whitespace as scanIsBlank tells it, without a call for every byte.
bool isBlankByte(const ScanFile& scan, char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b > ' ') {
        return false;
    }
    return b == ' ' || (b >= '\t' && b <= '\r') ||
           (scan.framingIsBlank && (c == startOfHeading || c == endOfText || c == recordSeparator));
}

// Every power of ten that a double holds exactly.
constexpr std::array<double, 23> exactPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// At most this many digits fit a 64-bit integer whatever they are.
constexpr std::size_t maxPlainDigits = 19;
static_assert(maxPlainDigits - 1 < exactPowersOfTen.size(), "every count of decimals is exact");

// Digits, then optionally a point and more digits, of at most maxPlainDigits digits in all
// and a value of at most 2^53: the number is then an exact integer divided by an exact
// power of ten, and the one rounding of that division is the correctly rounded value. False for any
// other shape, which from_chars is left to read.
bool readPlainDecimal(const char* first, const char* last, double& value) {
    const bool negative = first != last && *first == '-';
    if (negative) {
        ++first;
    }
    std::uint64_t mantissa = 0;
    const char* p = first;
    while (p != last && isDigit(*p)) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        ++p;
    }
    const std::size_t wholeDigits = static_cast<std::size_t>(p - first);
    std::size_t fractionDigits = 0;
    if (p != last && *p == '.') {
        const char* fraction = ++p;
        while (p != last && isDigit(*p)) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
            ++p;
        }
        fractionDigits = static_cast<std::size_t>(p - fraction);
        if (fractionDigits == 0) {
            return false;
        }
    }
    if (p != last || wholeDigits == 0 || wholeDigits + fractionDigits > maxPlainDigits ||
        mantissa > (std::uint64_t{1} << 53)) {
        return false;
    }
    const double magnitude = static_cast<double>(mantissa) / exactPowersOfTen[fractionDigits];
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

bool scanWordInPlace(ScanFile& scan, std::string& storage, std::string_view& word) {
    if (!scanSkipBlanks(scan)) {
        return false;
    }
    const char* data = scan.buffer.data();
    std::size_t i = scan.next;
    while (i < scan.end && !isBlankByte(scan, data[i])) {
        ++i;
    }
    if (i < scan.end) {
        word = std::string_view(data + scan.next, std::min(i - scan.next, keptWordLength));
        scan.next = i;
        return true;
    }
    // The word runs to the end of the buffer, and perhaps on into the next block.
    scanWord(scan, storage);
    word = storage;
    return true;
}

bool readWholeDecimal(std::string_view text, double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (readPlainDecimal(first, last, value)) {
        return true;
    }
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && std::isfinite(value);
}

bool scanInteger(ScanFile& scan, std::int32_t& value) {
    if (!scanSkipBlanks(scan)) {
        return false;
    }
    int c = scanPeek(scan);
    const bool negative = scanSign(scan, c);
    // Every digit is consumed, also once the value is past the limit.
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
    std::uint64_t magnitude = 0;
    bool anyDigit = false;
    bool overflow = false;
    while (isDigit(c)) {
        anyDigit = true;
        if (!overflow) {
            magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
            overflow = magnitude > limit;
        }
        ++scan.next;
        c = scanPeek(scan);
    }
    if (c < 0) {
        scan.atEnd = true;
    }
    if (!anyDigit) {
        value = 0;
        scan.failed = true;
    } else if (overflow) {
        value = negative ? std::numeric_limits<std::int32_t>::min()
                         : std::numeric_limits<std::int32_t>::max();
        scan.failed = true;
    } else {
        const auto magnitudeValue = static_cast<std::int64_t>(magnitude);
        value = static_cast<std::int32_t>(negative ? -magnitudeValue : magnitudeValue);
    }
    return !scan.failed;
}

bool scanDouble(ScanFile& scan, double& value) {
    if (!scanSkipBlanks(scan)) {
        return false;
    }
    int c = scanPeek(scan);
    const bool negative = scanSign(scan, c);
    // The value is 0.digits x 10^exponent, with `sticky` standing for any nonzero digit
    // past the kept ones.
    char digits[maxKeptDigits];
    std::size_t kept = 0;
    bool sticky = false;
    std::int64_t exponent = 0;
    bool anyDigit = false;
    bool pointSeen = false;
    bool nonzeroSeen = false;
    for (;; ++scan.next, c = scanPeek(scan)) {
        if (kept == maxKeptDigits && isDigit(c)) {
            // Past the kept digits only their count before the point and whether any is
            // nonzero matter: take the run in the buffer at once.
            const char* data = scan.buffer.data();
            std::size_t i = scan.next;
            while (i < scan.end && isDigit(data[i])) {
                sticky = sticky || data[i] != '0';
                ++i;
            }
            if (!pointSeen) {
                exponent += static_cast<std::int64_t>(i - scan.next);
            }
            scan.next = i - 1;  // the loop steps past the last digit of the run
            continue;
        }
        if (c == '.' && !pointSeen) {
            pointSeen = true;
        } else if (isDigit(c)) {
            anyDigit = true;
            if (c != '0' || nonzeroSeen) {
                nonzeroSeen = true;
                if (kept < maxKeptDigits) {
                    digits[kept++] = static_cast<char>(c);
                } else if (c != '0') {
                    sticky = true;
                }
                if (!pointSeen) {
                    ++exponent;
                }
            } else if (pointSeen) {
                --exponent;  // a zero between the point and the first significant digit
            }
        } else {
            break;
        }
    }
    bool exponentWritten = false;
    bool exponentComplete = true;
    if ((c == 'e' || c == 'E') && anyDigit) {
        exponentWritten = true;
        exponentComplete = false;
        ++scan.next;
        c = scanPeek(scan);
        const bool exponentNegative = c == '-';
        if (c == '-' || c == '+') {
            ++scan.next;
            c = scanPeek(scan);
        }
        std::int64_t written = 0;
        while (isDigit(c)) {
            exponentComplete = true;
            written = std::min(written * 10 + (c - '0'), writtenExponentLimit);
            ++scan.next;
            c = scanPeek(scan);
        }
        exponent += exponentNegative ? -written : written;
    }
    if (c < 0) {
        scan.atEnd = true;
    }
    if (!anyDigit || (exponentWritten && !exponentComplete)) {
        value = 0.0;
        scan.failed = true;
        return false;
    }
    if (!nonzeroSeen) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    exponent = std::clamp(exponent, -exponentLimit, exponentLimit);
    // "-0.<digits>[1]e<exponent>", rounded once by the C library as extraction does.
    char text[maxKeptDigits + 32];
    std::size_t length = 0;
    if (negative) {
        text[length++] = '-';
    }
    text[length++] = '0';
    text[length++] = '.';
    std::copy(digits, digits + kept, text + length);
    length += kept;
    if (sticky) {
        text[length++] = '1';
    }
    text[length++] = 'e';
    const std::to_chars_result written =
        std::to_chars(text + length, text + sizeof text - 1, exponent);
    *written.ptr = '\0';
    value = std::strtod(text, nullptr);
    if (value == std::numeric_limits<double>::infinity() ||
        value == -std::numeric_limits<double>::infinity()) {
        value = negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
        scan.failed = true;
    }
    return !scan.failed;
}
