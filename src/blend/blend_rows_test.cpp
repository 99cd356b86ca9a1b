#include "blend/blend_rows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FieldCase {
    std::string line;
    int field;
    bool read;
    std::int32_t value;
};

// The rows of one body, read from memory as a reader reads them from the file.
BlendRows rowsOf(ScanFile& scan, const std::string& body) {
    openScanText(scan, body);
    treatFramingAsBlank(scan);
    BulletinBounds bounds;
    bounds.bodyEnd = body.size();
    BlendRows rows;
    EXPECT_TRUE(readBlendRows(scan, bounds, rows));
    return rows;
}

}  // namespace

TEST(BlendRows, FieldsAreThreeCharactersAfterTheLabel) {
    const FieldCase cases[] = {
        {"SKY 100100 68", 1, true, 100},  // touching values
        {"SKY 100100 68", 2, true, 100},  //
        {"SKY 100100 68", 3, true, 68},   //
        {"DPT -12-15  4", 2, true, -15},  // negative values touch too
        {"DPT  -1  4", 1, true, -1},      //
        {"TXN        72", 2, false, 0},   // a blank field holds no value
        {"TXN        72", 5, false, 0},   // past the end of the line
        {"WSP  1O", 1, false, 0},         // a letter is no digit
        {"WSP  -", 1, false, 0},          // a sign alone is no number
        {"WSP  7\r", 1, true, 7},         // a CR before the line feed is blank
        {"WSP  7\x1e 8", 1, true, 7},     // so is the feed's framing
        {"WSP 1 2", 1, true, 12},         // blanks inside a field are removed
    };
    ScanFile scan;
    openScanText(scan, "");
    treatFramingAsBlank(scan);
    for (const FieldCase& c : cases) {
        std::int32_t value = -999;
        EXPECT_EQ(blendField(scan, c.line, c.field, value), c.read) << c.line << " " << c.field;
        if (c.read) {
            EXPECT_EQ(value, c.value) << c.line << " " << c.field;
        }
    }
}

TEST(BlendRows, ValuesAreTakenUnderTheirHoursFromTheFirstLineOfEachLabel) {
    // Rows in another order, FHR starting at hour 3, a later SKY line and a SKY word
    // inside another line, none of which counts; the header line's rest is no row.
    const std::string body =
        " 1200 UTC SKY\n"
        "SKY  90100  5 -1\n"
        "DT SKY 77 77\n"
        "  FHR  03 06 09 12\r\n"
        "SKY  11 12 13 14\n";
    ScanFile scan;
    const BlendRows rows = rowsOf(scan, body);
    std::int32_t values[4] = {};
    std::string_view unread;
    ASSERT_TRUE(blendValuesAtHours(scan, rows, "SKY", 6, 3, 2, values, unread));
    EXPECT_EQ(values[0], 100);
    EXPECT_EQ(values[1], 5);

    // An hour FHR does not name, a row that is missing, a blank field under an hour.
    EXPECT_FALSE(blendValuesAtHours(scan, rows, "SKY", 6, 3, 4, values, unread));
    EXPECT_EQ(unread, "FHR");
    EXPECT_FALSE(blendValuesAtHours(scan, rows, "WDR", 6, 3, 1, values, unread));
    EXPECT_EQ(unread, "WDR");
    ScanFile other;
    const BlendRows blank = rowsOf(other, " UTC\nFHR  06 09\nP12      7\n");
    EXPECT_TRUE(blendValuesAtHours(other, blank, "P12", 9, 3, 1, values, unread));
    EXPECT_EQ(values[0], 7);
    EXPECT_FALSE(blendValuesAtHours(other, blank, "P12", 6, 3, 1, values, unread));
    EXPECT_EQ(unread, "P12");
    // A wrong hour in FHR: a value is taken under its own hour only, never a neighbour's.
    ScanFile wrong;
    const BlendRows wrongHour = rowsOf(wrong, " UTC\nFHR  06 12 10\nSKY  11 12 13\n");
    ASSERT_TRUE(blendValuesAtHours(wrong, wrongHour, "SKY", 10, 2, 2, values, unread));
    EXPECT_EQ(values[0], 13);
    EXPECT_EQ(values[1], 12);
    EXPECT_FALSE(blendValuesAtHours(wrong, wrongHour, "SKY", 6, 3, 2, values, unread));
    EXPECT_EQ(unread, "FHR");
    ScanFile none;
    const BlendRows noHours = rowsOf(none, " UTC\nSKY  1\n");
    EXPECT_FALSE(blendValuesAtHours(none, noHours, "SKY", 6, 3, 1, values, unread));
    EXPECT_EQ(unread, "FHR");
}
