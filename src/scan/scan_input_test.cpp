#include "scan/scan_input.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "test_support.h"

namespace {

struct Line {
    std::string text;
    bool cut;
};

constexpr std::size_t longest = 4096;

std::vector<Line> readAllLines(ScanFile& scan) {
    std::vector<Line> lines;
    std::string storage;
    std::string_view line;
    bool cut = false;
    while (scanBoundedLine(scan, storage, line, longest, cut)) {
        lines.push_back({std::string(line), cut});
    }
    EXPECT_TRUE(scanReadWhole(scan));
    return lines;
}

// Every line of `content`, read through a buffer of `blockSize` bytes, from a plain file
// opened by name and from a stream read in order; both must give the same lines.
std::vector<Line> readLines(const std::string& content, std::size_t blockSize) {
    writeFile("product.txt", content);
    ScanInput input;
    EXPECT_EQ(openScanInput(input, "product.txt", blockSize), InputOpening::opened);
    const std::vector<Line> fromFile = readAllLines(input.scan);

    std::FILE* stream = std::fopen("stream.txt", "w+b");
    EXPECT_NE(stream, nullptr);
    std::fwrite(content.data(), 1, content.size(), stream);
    std::rewind(stream);
    ScanFile scan;
    openScanStream(scan, stream, blockSize);
    const std::vector<Line> fromStream = readAllLines(scan);
    EXPECT_FALSE(scanSeek(scan, 0)) << "a stream is read once, in order";
    std::fclose(stream);

    EXPECT_EQ(fromStream.size(), fromFile.size());
    for (std::size_t i = 0; i < std::min(fromFile.size(), fromStream.size()); ++i) {
        EXPECT_EQ(fromStream[i].text, fromFile[i].text) << "line " << i;
        EXPECT_EQ(fromStream[i].cut, fromFile[i].cut) << "line " << i;
    }
    return fromFile;
}

}  // namespace

TEST(ScanInput, GivesEveryLineWhateverTheBlocksAndTheSource) {
    const ScopedTempDirectory folder;
    const std::string content = "\x01\r\r\n251 \r\r\n\x1eKBKX  NBM\r\r\n\nlast line without LF";
    for (const std::size_t blockSize : {std::size_t{1}, std::size_t{5}, std::size_t{4096}}) {
        SCOPED_TRACE(blockSize);
        const std::vector<Line> lines = readLines(content, blockSize);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0].text, "\x01\r\r");
        EXPECT_EQ(lines[1].text, "251 \r\r");
        EXPECT_EQ(lines[2].text, "\x1eKBKX  NBM\r\r");
        EXPECT_EQ(lines[3].text, "");
        EXPECT_EQ(lines[4].text, "last line without LF");
        for (const Line& line : lines) {
            EXPECT_FALSE(line.cut);
        }
    }
    EXPECT_TRUE(readLines("", 5).empty());
    EXPECT_EQ(readLines("one\n", 5).size(), 1u);
}

TEST(ScanInput, CutsALineLongerThanAnyBulletinAndGoesOnAfterIt) {
    const ScopedTempDirectory folder;
    const std::string longLine(3 * longest + 17, 'x');
    const std::string fits(longest, 'y');
    for (const std::size_t blockSize : {std::size_t{1000}, std::size_t{1} << 20}) {
        SCOPED_TRACE(blockSize);
        const std::vector<Line> lines = readLines(
            "first\n" + longLine + "\n" + fits + "\n" + fits + "z\nKBKX\n" + longLine, blockSize);
        ASSERT_EQ(lines.size(), 6u);
        EXPECT_EQ(lines[0].text, "first");
        EXPECT_TRUE(lines[1].cut);
        EXPECT_EQ(lines[1].text, longLine.substr(0, longest));
        EXPECT_FALSE(lines[2].cut);
        EXPECT_EQ(lines[2].text, fits);
        EXPECT_TRUE(lines[3].cut) << "one byte over is cut";
        EXPECT_EQ(lines[3].text, fits);
        EXPECT_EQ(lines[4].text, "KBKX");
        EXPECT_TRUE(lines[5].cut);
    }
}

TEST(ScanInput, OpensPlainFilesOnlyAndKnowsThemByTheFileNotTheName) {
    const ScopedTempDirectory folder;
    std::filesystem::create_directory("saved");
    writeFile("day.txt", "KBKX\n");
    writeFile("other.txt", "KBKX\n");
    const struct {
        const char* name;
        InputOpening opening;
    } cases[] = {{"saved", InputOpening::notPlain},
                 {"nosuch.txt", InputOpening::missing},
                 {"day.txt", InputOpening::opened}};
    for (const auto& given : cases) {
        ScanInput input;
        EXPECT_EQ(openScanInput(input, given.name), given.opening) << given.name;
        EXPECT_EQ(input.descriptor >= 0, given.opening == InputOpening::opened) << given.name;
    }
    ScanInput input;
    ASSERT_EQ(openScanInput(input, "day.txt"), InputOpening::opened);
    std::string word;
    ASSERT_TRUE(scanWord(input.scan, word));
    EXPECT_EQ(word, "KBKX");
    EXPECT_TRUE(inputIsFile(input, "day.txt", "day.txt"));
    EXPECT_TRUE(inputIsFile(input, "day.txt", "./day.txt"));
    EXPECT_TRUE(inputIsFile(input, "day.txt", "saved/../day.txt"));
    EXPECT_FALSE(inputIsFile(input, "day.txt", "other.txt"));
    EXPECT_FALSE(inputIsFile(input, "day.txt", "new.txt"));
}

TEST(ScanInput, AStreamThatFailsIsNotTakenAsRead) {
    const ScopedTempDirectory folder;
    std::filesystem::create_directory("saved");
    // Only POSIX opens a folder as a stream, whose reads then fail (EISDIR).
    std::FILE* stream = std::fopen("saved", "r");
    if (stream == nullptr) {
        GTEST_SKIP() << "this platform opens no folder as a stream";
    }
    ScanFile scan;
    openScanStream(scan, stream, 64);
    std::string storage;
    std::string_view line;
    bool cut = false;
    EXPECT_FALSE(scanBoundedLine(scan, storage, line, longest, cut));
    EXPECT_FALSE(scanReadWhole(scan));
    std::fclose(stream);
}
