#include "assemble/product_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

struct Line {
    std::string text;
    bool cut;
};

// Every line of the file, read through a buffer of `blockSize` bytes.
std::vector<Line> readLines(const std::string& content, std::size_t blockSize) {
    writeFile("product.txt", content);
    ProductFile product;
    EXPECT_EQ(openProductFile(product, "product.txt", blockSize), ProductOpening::opened);
    std::vector<Line> lines;
    std::string_view line;
    bool cut = false;
    while (readProductLine(product, line, cut)) {
        lines.push_back({std::string(line), cut});
    }
    EXPECT_TRUE(productReadWhole(product));
    return lines;
}

}  // namespace

TEST(ProductFile, GivesEveryLineWhateverTheBlocks) {
    const ScopedTempDirectory folder;
    const std::string content = "\x01\r\r\n251 \r\r\n\x1eKBKX  NBM\r\r\n\nlast line without LF";
    for (const std::size_t blockSize : {std::size_t{1}, std::size_t{5}, std::size_t{4096}}) {
        SCOPED_TRACE(blockSize);
        const std::vector<Line> lines = readLines(content, blockSize);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0].text, "\x01\r\r");
        EXPECT_EQ(lines[2].text, "\x1eKBKX  NBM\r\r");
        EXPECT_EQ(lines[3].text, "");
        EXPECT_EQ(lines[4].text, "last line without LF");
        for (const Line& line : lines) {
            EXPECT_FALSE(line.cut);
        }
    }
}

TEST(ProductFile, CutsALineLongerThanAnyBulletinAndGoesOnAfterIt) {
    const ScopedTempDirectory folder;
    const std::string longLine(3 * maxProductLineLength + 17, 'x');
    const std::string fits(maxProductLineLength, 'y');
    for (const std::size_t blockSize : {std::size_t{1000}, std::size_t{1} << 20}) {
        SCOPED_TRACE(blockSize);
        const std::vector<Line> lines =
            readLines("first\n" + longLine + "\n" + fits + "\nKBKX\n" + longLine, blockSize);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0].text, "first");
        EXPECT_TRUE(lines[1].cut);
        EXPECT_EQ(lines[1].text, longLine.substr(0, maxProductLineLength));
        EXPECT_FALSE(lines[2].cut);
        EXPECT_EQ(lines[2].text, fits);
        EXPECT_EQ(lines[3].text, "KBKX");
        EXPECT_TRUE(lines[4].cut);
    }
}

TEST(ProductFile, OpensPlainFilesOnlyAndKnowsThemByTheFileNotTheName) {
    const ScopedTempDirectory folder;
    std::filesystem::create_directory("saved");
    writeFile("day.txt", "KBKX\n");
    writeFile("other.txt", "KBKX\n");
    const struct {
        const char* name;
        ProductOpening opening;
    } cases[] = {{"saved", ProductOpening::notPlain},
                 {"nosuch.txt", ProductOpening::missing},
                 {"day.txt", ProductOpening::opened}};
    for (const auto& given : cases) {
        ProductFile product;
        EXPECT_EQ(openProductFile(product, given.name), given.opening) << given.name;
    }
    ProductFile product;
    ASSERT_EQ(openProductFile(product, "day.txt"), ProductOpening::opened);
    EXPECT_TRUE(productIsFile(product, "day.txt", "day.txt"));
    EXPECT_TRUE(productIsFile(product, "day.txt", "./day.txt"));
    EXPECT_TRUE(productIsFile(product, "day.txt", "saved/../day.txt"));
    EXPECT_FALSE(productIsFile(product, "day.txt", "other.txt"));
    EXPECT_FALSE(productIsFile(product, "day.txt", "new.txt"));
}
