#include "scan/scan_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "io/data_file.h"
#include "scan_check.h"
#include "test_support.h"

namespace {

constexpr std::size_t blockSizes[] = {1, 2, 3, 5, 8, 64, scanBlockSize};

// The same reads through the layer, in blocks of every size, and through a string stream.
void expectSameAsStream(const std::string& text, const std::vector<ScanRead>& reads) {
    for (const std::size_t blockSize : blockSizes) {
        ScanFile scan;
        openScanText(scan, text, blockSize);
        std::istringstream in(text);
        const std::string difference = firstDifference(scan, in, reads);
        ASSERT_EQ(difference, "") << "block size " << blockSize << ", text \""
                                  << text.substr(0, 200) << "\"";
    }
}

constexpr const char* blanks = " \t\n\v\f\r";
constexpr const char* searched[] = {"FHR", "KHON", "N/X", "|", "5", "a"};

// Words and numbers of every kind the data files hold, and the shapes that trip readers:
// lookalikes of the searched words, signs without digits, attached separators.
std::string randomToken(std::mt19937& random) {
    static const char* const fixed[] = {"FHR",
                                        "FHR:",
                                        "fhr",
                                        "XFHR",
                                        "FHRX",
                                        "KHON",
                                        "KHONK",
                                        "N/X",
                                        "N/X|",
                                        "|",
                                        "||",
                                        "5",
                                        "-5",
                                        "+5",
                                        "007|",
                                        "-",
                                        "+",
                                        ".",
                                        "+.",
                                        "1e",
                                        "1e+",
                                        "e5",
                                        "0x1F",
                                        "12.5",
                                        "1.e5",
                                        "-.5",
                                        "2147483648",
                                        "-2147483649",
                                        "99999999999999999999|",
                                        "CL|",
                                        "a",
                                        "é",
                                        "\x01"};
    std::uniform_int_distribution<int> pick(0, 9);
    switch (pick(random)) {
        case 0: {
            std::string word(std::uniform_int_distribution<std::size_t>(1, 300)(random), 'F');
            word[word.size() / 2] = 'H';
            return word;
        }
        case 1:
        case 2: {
            std::string word;
            const std::string letters = "FHRKON/X|ab5-.e";
            for (int n = std::uniform_int_distribution<int>(1, 5)(random); n > 0; --n) {
                word += letters[std::uniform_int_distribution<std::size_t>(0, 14)(random)];
            }
            return word;
        }
        case 3:
            return std::to_string(
                std::uniform_int_distribution<std::int64_t>(-5000000000LL, 5000000000LL)(random));
        default:
            return fixed[std::uniform_int_distribution<std::size_t>(0,
                                                                    std::size(fixed) - 1)(random)];
    }
}

std::string randomText(std::mt19937& random) {
    std::string text;
    for (int n = std::uniform_int_distribution<int>(0, 30)(random); n > 0; --n) {
        // Sometimes nothing between two tokens: they make one word.
        for (int b = std::uniform_int_distribution<int>(0, 3)(random); b > 0; --b) {
            text += blanks[std::uniform_int_distribution<int>(0, 5)(random)];
        }
        text += randomToken(random);
    }
    return text;
}

std::vector<ScanRead> randomReads(std::mt19937& random) {
    std::vector<ScanRead> reads;
    for (int n = std::uniform_int_distribution<int>(1, 25)(random); n > 0; --n) {
        ScanRead read;
        read.kind = static_cast<ScanReadKind>(std::uniform_int_distribution<int>(0, 5)(random));
        read.target = searched[std::uniform_int_distribution<std::size_t>(0, 5)(random)];
        if (std::uniform_int_distribution<int>(0, 1)(random) == 1) {
            read.stopWord = searched[std::uniform_int_distribution<std::size_t>(0, 5)(random)];
        }
        reads.push_back(read);
    }
    return reads;
}

}  // namespace

TEST(ScanFile, AgreesWithStreamExtractionOnGeneratedInputs) {
    std::mt19937 random(20261208);
    for (int input = 0; input < 400; ++input) {
        expectSameAsStream(randomText(random), randomReads(random));
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(ScanFile, WantedWordAtTheVeryEndOrAcrossBlocks) {
    const ScanRead skipToFhr{ScanReadKind::skipPast, "FHR", {}};
    const ScanRead skipToLabel{ScanReadKind::skipPast, "N/X", "KHON"};
    const ScanRead word{ScanReadKind::word, {}, {}};
    const std::string longWord(1000, 'F');
    for (const std::string& text :
         {std::string("a b FHR"), std::string("a b FHR\n"), std::string("FHR"),
          std::string("\v\f\rFHR\t"), std::string("FH"), std::string("FHRFHR FHR"),
          std::string("xFHR FHR 1"), "N/X:" + longWord + " KHON N/X", longWord + "FHR " + longWord,
          longWord + " FHR", std::string("KHON N/X"), std::string(""), std::string(" \n")}) {
        expectSameAsStream(text, {skipToFhr, word, word});
        expectSameAsStream(text, {skipToLabel, word, skipToLabel});
        expectSameAsStream(text, {word, word, skipToFhr, skipToFhr});
    }
}

TEST(ScanFile, ReadsAnOpenFileAsABinaryFileStreamDoes) {
    ScopedTempDirectory dir;
    std::mt19937 random(7);
    for (int input = 0; input < 20; ++input) {
        const std::string text = randomText(random);
        const std::vector<ScanRead> reads = randomReads(random);
        writeFile("data.txt", text);
        DataFile data;
        ASSERT_TRUE(openPlainDataFile(data, "data.txt"));
        ScanFile scan;
        ASSERT_TRUE(openScanFile(scan, data.descriptor, 3));
        std::ifstream in("data.txt", std::ios::binary);
        EXPECT_EQ(firstDifference(scan, in, reads), "") << text;
    }
    ScanFile unopened;
    EXPECT_FALSE(openScanFile(unopened, -1));
    std::string word = "kept";
    EXPECT_FALSE(scanWord(unopened, word));
    EXPECT_EQ(word, "kept");
}

TEST(ScanFile, ScansOfOneOpenFileKeepTheirOwnPlaces) {
    ScopedTempDirectory dir;
    writeFile("data.txt", "KBKX ETA one two KHON three four");
    DataFile data;
    ASSERT_TRUE(openPlainDataFile(data, "data.txt"));
    ScanFile first;
    openScanFile(first, data.descriptor, 4);
    std::string word;
    ASSERT_TRUE(skipPastWord(first, "KHON"));
    ScanFile again;
    ASSERT_TRUE(openScanAgain(again, first, 9));
    ASSERT_TRUE(scanWord(again, word));
    EXPECT_EQ(word, "one");
    EXPECT_EQ(scanOffset(again), 12u);
    ASSERT_TRUE(scanWord(first, word));
    EXPECT_EQ(word, "three");
    ASSERT_TRUE(scanWord(again, word));
    EXPECT_EQ(word, "two");
}

TEST(ScanFile, ComparesWholeWordsOfAnyLengthInBoundedMemory) {
    const std::string date(3 * scanBlockSize, '7');
    std::string other = date;
    other.back() = '8';
    const std::string text = "KBKX " + date + " KHON " + date + " KMHE " + other + " KFSD " + date +
                             "7 KBKX " + date.substr(1) + " end";
    ScanFile scan;
    ScanFile reference;
    openScanText(scan, text, 4096);
    std::string word;
    ASSERT_TRUE(scanWord(scan, word));
    const std::uint64_t dateOffset = scanOffset(scan);
    ASSERT_TRUE(scanWord(scan, word));
    for (const bool equal : {true, false, false, false}) {
        ASSERT_TRUE(scanWord(scan, word));
        ASSERT_TRUE(openScanAgain(reference, scan, dateOffset));
        EXPECT_EQ(scanWordsEqual(scan, reference), equal) << word;
        EXPECT_EQ(scanOffset(reference), dateOffset + 1 + date.size());
    }
    EXPECT_TRUE(scanWordIs(scan, "end"));
    EXPECT_TRUE(scan.atEnd);
    EXPECT_FALSE(scanWordsEqual(scan, reference));
}

TEST(ScanFile, FramingIsBlankOnlyWhereAskedFor) {
    const std::string text = "\x01\r\r\n251\x1eKDSM NBM\x03";
    for (const std::size_t blockSize : blockSizes) {
        ScanFile scan;
        openScanText(scan, text, blockSize);
        std::string word;
        ASSERT_TRUE(scanWord(scan, word));
        EXPECT_EQ(word, "\x01");
        openScanText(scan, text, blockSize);
        treatFramingAsBlank(scan);
        std::vector<std::string> words;
        while (scanWord(scan, word)) {
            words.push_back(word);
        }
        EXPECT_EQ(words, (std::vector<std::string>{"251", "KDSM", "NBM"})) << blockSize;
    }
}

TEST(ScanFile, SeeksStraightToAnOffsetAndReadsNoFurtherThanTheLimit) {
    const std::string text = "N/X 1 2 3 KHON P12 4 5\nDPT 6\n";
    ScopedTempDirectory dir;
    writeFile("bulletins.txt", text);
    DataFile data;
    ASSERT_TRUE(openPlainDataFile(data, "bulletins.txt"));
    for (const std::size_t blockSize : blockSizes) {
        ScanFile file;
        ScanFile memory;
        openScanFile(file, data.descriptor, blockSize);
        openScanText(memory, text, blockSize);
        for (ScanFile* scan : {&file, &memory}) {
            // The body from "1" to the station word: a search stops at the limit.
            ASSERT_TRUE(scanSeek(*scan, 4, 10));
            std::string word;
            ASSERT_TRUE(scanWord(*scan, word));
            EXPECT_EQ(word, "1");
            EXPECT_FALSE(skipPastWord(*scan, "P12"));
            EXPECT_TRUE(scan->atEnd);
            // Back again, beyond the first limit, to the end.
            ASSERT_TRUE(scanSeek(*scan, 15));
            EXPECT_TRUE(skipPastWord(*scan, "DPT"));
            std::string line;
            ASSERT_TRUE(scanLine(*scan, line, 3));
            EXPECT_EQ(line, " 6");
            EXPECT_FALSE(scanLine(*scan, line, 3));
        }
    }
}

TEST(ScanFile, ALineHeadStopsAtItsLengthAndTheNextReadGoesOnFromThere) {
    struct Case {
        const char* text;
        std::size_t keep;
        std::vector<std::string> heads;  // what each read hands, until one is false
    };
    const Case cases[] = {
        {"abc\nde\n", 3, {"abc", "de"}},
        {"abcd\nde", 3, {"abc", "d", "de"}},
        {"abc", 3, {"abc"}},
        {"\n\nx", 2, {"", "", "x"}},
        {"", 2, {}},
    };
    for (const Case& c : cases) {
        for (const std::size_t blockSize : blockSizes) {
            ScanFile scan;
            openScanText(scan, c.text, blockSize);
            std::vector<std::string> heads;
            std::string line;
            while (heads.size() < 10 && scanLineHead(scan, line, c.keep)) {
                heads.push_back(line);
            }
            EXPECT_EQ(heads, c.heads) << "text \"" << c.text << "\", block size " << blockSize;
        }
    }
}

TEST(ScanFile, ASearchNotesTheFirstLineStartingWithAWatchedWord) {
    constexpr std::string_view watched[] = {"SKY", "FHR"};
    struct Case {
        std::string text;
        std::uint64_t noted;  // noScanLimit: none
    };
    const Case cases[] = {
        {"head UTC\nDT SKY\n  SKY 1\nKHON", 16},       // SKY later on its line does not count
        {"head SKY\nFHR 6\nKHON", 9},                  // nor on the line the search starts in
        {"head\nSKYX 1\nKHON\nSKY 2\n", noScanLimit},  // nor past the word searched for
        {"head\n\x1e\rFHR\x03\nKHON", 5},              // framing and CR are blank
        {"head\n    SKYE\n\t\tSKY\nKHON", 14},         // a longer word is not the label
    };
    for (const Case& c : cases) {
        for (const std::size_t blockSize : blockSizes) {
            ScanFile scan;
            openScanText(scan, c.text, blockSize);
            treatFramingAsBlank(scan);
            LineWatch watch{watched};
            ASSERT_TRUE(skipPastWord(scan, "KHON", {}, &watch));
            // A first word cut by a block's end is judged once the next block shows it.
            EXPECT_EQ(watch.found, c.noted) << c.text << " " << blockSize;
        }
    }
}
