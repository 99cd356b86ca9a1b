#include "export/csv_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "io/platform.h"

TEST(CsvTable, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(csvField("gfs.txt"), "gfs.txt");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(csvField(""), "");
}

TEST(CsvTable, NumbersReadBackAsTheSameDouble) {
    for (const double value : {0.1 + 0.2, 15.658026898400001, -1796.52, 1e-7, 5566.0, 0.0}) {
        const std::string text = csvNumber(value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
    }
    EXPECT_EQ(csvNumber(5566.0), "5566");
    // The shortest decimal of each double: 47.48 is written so; 8.6 C in F is another
    // double, one ulp above it, and only its seventeen digits read back as it.
    EXPECT_EQ(csvNumber(47.48), "47.48");
    EXPECT_EQ(csvNumber(8.6 * 1.8 + 32), "47.480000000000004");
    EXPECT_EQ(csvNumber(std::nullopt), "");
}

TEST(CsvTable, ARecordEndsWithTheLineEndOfTheFile) {
    std::ostringstream out;
    const std::vector<std::string> fields = {"1", "my,file.txt", "", "12.5"};
    writeCsvRecord(out, fields);
    EXPECT_EQ(out.str(), std::string("1,\"my,file.txt\",,12.5") + crLfLineEnd());
}
