#include "scan/scan_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "scan_check.h"

namespace {

constexpr ScanRead decimal{ScanReadKind::decimal, {}, {}};
constexpr ScanRead integer{ScanReadKind::integer, {}, {}};
constexpr ScanRead character{ScanReadKind::character, {}, {}};

void expectSameAsStream(const std::string& text, const std::vector<ScanRead>& reads) {
    for (const std::size_t blockSize : {std::size_t{1}, std::size_t{7}, scanBlockSize}) {
        ScanFile scan;
        openScanText(scan, text, blockSize);
        std::istringstream in(text);
        const std::string difference = firstDifference(scan, in, reads);
        ASSERT_EQ(difference, "") << "block size " << blockSize << ", text \""
                                  << text.substr(0, 120) << "\"";
    }
}

// The exact decimal digits of the point halfway between `value` (positive, finite) and
// the next double up, and the power of ten they are to be scaled by.
std::pair<std::string, int> halfwayDigits(double value) {
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);
    // value = mantissa * 2^(exponent - 53), or a subnormal's fixed scale 2^-1074.
    int binaryExponent = std::max(exponent - 53, -1074);
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, exponent - binaryExponent));
    mantissa = 2 * mantissa + 1;
    --binaryExponent;
    std::vector<int> digits;  // least significant first
    for (; mantissa > 0; mantissa /= 10) {
        digits.push_back(static_cast<int>(mantissa % 10));
    }
    // A negative power of two is a power of five over the same power of ten.
    const int factor = binaryExponent < 0 ? 5 : 2;
    for (int n = std::abs(binaryExponent); n > 0; --n) {
        int carry = 0;
        for (int& digit : digits) {
            const int product = digit * factor + carry;
            digit = product % 10;
            carry = product / 10;
        }
        if (carry > 0) {
            digits.push_back(carry);
        }
    }
    std::string text;
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        text += static_cast<char>('0' + *digit);
    }
    return {text, std::min(binaryExponent, 0)};
}

}  // namespace

TEST(ScanNumber, AgreesWithStreamExtractionOnEveryShapeOfNumber) {
    const std::vector<ScanRead> reads = {decimal, character, decimal, integer, character, integer};
    for (const char* text : {"1e 5",
                             "1e5x 2",
                             "1ex 3",
                             "- 4",
                             "+. 5",
                             ". 6",
                             "1e+ 7",
                             "1e+-5",
                             ".e5",
                             "e5",
                             "1e400 1",
                             "-1e400 2",
                             "1e-400 3",
                             "4e-320",
                             "0x10 7",
                             "00.5 00.5",
                             "1.2.3 4",
                             "-0 -0",
                             "- 5 5",
                             "1e5e3 1",
                             "1E5|2",
                             "1.e5",
                             "+.5e-3|7",
                             "12|34|",
                             "2147483647 2147483648",
                             "-2147483648",
                             "-2147483649 -0000000000000000000000002147483648",
                             "99999999999999999999999 1",
                             "007|008|",
                             "0e999999999999999999999 1",
                             "1e-999999999999999999999 1",
                             "1e99999999999999999999999999 1",
                             "2.2250738585072011e-308 1",
                             ""}) {
        expectSameAsStream(text, reads);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(ScanNumber, RoundsNumbersOfThousandsOfDigitsAndHalfwayCasesExactly) {
    std::mt19937_64 random(5);
    std::vector<double> values = {1.0,
                                  9007199254740992.0,
                                  std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::min(),
                                  std::nextafter(std::numeric_limits<double>::max(), 0.0),
                                  0.1};
    for (int n = 0; n < 12; ++n) {
        values.push_back(std::abs(std::bit_cast<double>(random() & 0x7fefffffffffffffULL)));
    }
    const std::string zeros(2000, '0');
    for (const double value : values) {
        const auto [digits, exponent] = halfwayDigits(value);
        const auto scale = [exponent](int shift) { return "e" + std::to_string(exponent + shift); };
        const int length = static_cast<int>(digits.size());
        std::string below = digits;
        below.back() = static_cast<char>(below.back() - 1);
        // The tie itself, a hair above it past the kept digits, and a hair below it; written
        // with a point, with leading zeros after it and with trailing zeros before it.
        for (const std::string& text :
             {digits + scale(0), digits + zeros + "1" + scale(-2001),
              below + std::string(1500, '9') + scale(-1500),
              "0." + zeros + digits + scale(2000 + length),
              "-" + digits.substr(0, 1) + "." + digits.substr(1) + zeros + scale(length - 1),
              digits + zeros + scale(-2000)}) {
            expectSameAsStream(text + " 1 " + text, {decimal, integer, decimal});
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

TEST(ScanNumber, ALongNumberAcrossBlocksLeavesWhatFollowsIt) {
    const std::string digits(50000, '7');
    expectSameAsStream(digits + "|" + digits + ".5e-49990" + "|-" + digits + " x",
                       {integer, character, decimal, character, decimal, character, decimal});
    expectSameAsStream("00000" + std::string(30000, '0') + "1|" + digits,
                       {integer, character, integer, integer});
}

// The whole-word reader gives what from_chars gives, value and verdict, on plain decimals
// of every length around the quick path's bounds (19 digits, 2^53, 22 decimals) and on
// every other shape, which from_chars reads itself.
TEST(ScanNumber, WholeDecimalAgreesWithFromChars) {
    std::vector<std::string> words = {"0",
                                      "-0",
                                      "-0.00",
                                      "12",
                                      "-9999.00",
                                      "830.60",
                                      "1.",
                                      ".5",
                                      "-",
                                      "",
                                      "1e5",
                                      "1.5e-3",
                                      "nan",
                                      "inf",
                                      "-inf",
                                      "+1",
                                      "1.2.3",
                                      "12abc",
                                      "1e999",
                                      "0x10",
                                      " 1",
                                      "1 ",
                                      "--1",
                                      "9007199254740992",
                                      "9007199254740993",
                                      "9007199254740991.5",
                                      "0.1234567890123456789",
                                      "1234567890123456789",
                                      "12345678901234567890",
                                      "0.0000000000000000000001",
                                      "0.00000000000000000000001",
                                      "4.35",
                                      "0.3",
                                      "2.675"};
    std::mt19937_64 random(25);
    for (int i = 0; i < 200000; ++i) {
        const std::size_t digits = 1 + random() % 20;
        std::string word = random() % 2 == 0 ? "-" : "";
        const std::size_t point = random() % (digits + 1);
        for (std::size_t d = 0; d < digits; ++d) {
            if (d == point && d > 0) {
                word += '.';
            }
            word += static_cast<char>('0' + random() % 10);
        }
        words.push_back(word);
    }
    for (const std::string& word : words) {
        double expected = 0.5;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), expected);
        const bool expectedRead =
            error == std::errc() && end == word.data() + word.size() && std::isfinite(expected);
        double value = 0.5;
        ASSERT_EQ(readWholeDecimal(word, value), expectedRead) << "\"" << word << "\"";
        ASSERT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected))
            << "\"" << word << "\": " << value << " against " << expected;
    }
}

// Reading words in place hands the same words, in the same state of the file after each,
// as scanWord, whatever block a word straddles, however long it is, framing or not.
TEST(ScanNumber, WordsInPlaceAreTheWordsScanWordReads) {
    const std::string longWord(700, 'x');
    const std::vector<std::string> texts = {
        "",
        "   ",
        "one",
        " one two\tthree\r\nfour ",
        "12.5 -3\v\f7e2\n",
        "a\x01"
        "b\x03"
        "c\x1e"
        "d e",
        longWord + " " + longWord.substr(0, 256) + " " + longWord.substr(0, 255) + "\n" + longWord};
    for (const std::string& text : texts) {
        for (const bool framing : {false, true}) {
            for (const std::size_t blockSize :
                 {std::size_t{1}, std::size_t{3}, std::size_t{300}, scanBlockSize}) {
                ScanFile inPlace;
                ScanFile copied;
                openScanText(inPlace, text, blockSize);
                openScanText(copied, text, blockSize);
                if (framing) {
                    treatFramingAsBlank(inPlace);
                    treatFramingAsBlank(copied);
                }
                std::string storage;
                std::string_view word;
                std::string expected = "untouched";
                for (int n = 0; n < 12; ++n) {
                    const bool read = scanWordInPlace(inPlace, storage, word);
                    ASSERT_EQ(read, scanWord(copied, expected));
                    if (read) {
                        ASSERT_EQ(word, expected) << "word " << n << " of \"" << text.substr(0, 40)
                                                  << "\", block size " << blockSize;
                    }
                    ASSERT_EQ(scanOffset(inPlace), scanOffset(copied));
                    ASSERT_EQ(inPlace.atEnd, copied.atEnd);
                    ASSERT_EQ(inPlace.failed, copied.failed);
                }
            }
        }
    }
}
