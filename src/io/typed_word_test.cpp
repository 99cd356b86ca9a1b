#include "io/typed_word.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

TEST(TypedWord, ReadsWordsLikeStreamExtraction) {
    std::istringstream in(" 2\r\n gfs.txt\t0.5");
    std::string word;
    ASSERT_TRUE(readTypedWord(in, word));
    EXPECT_EQ(word, "2");  // a CR ends a typed word like any blank
    ASSERT_TRUE(readTypedWord(in, word));
    EXPECT_EQ(word, "gfs.txt");
    EXPECT_EQ(in.peek(), '\t');
    ASSERT_TRUE(readTypedWord(in, word));
    EXPECT_EQ(word, "0.5");
    EXPECT_TRUE(in.eof());
    EXPECT_FALSE(in.fail());
    EXPECT_FALSE(readTypedWord(in, word));
    EXPECT_TRUE(word.empty());
    EXPECT_TRUE(in.fail());
}

TEST(TypedWord, KeepsOnlyTheStartOfAHugeWordAndConsumesTheRest) {
    const std::string huge(3 * maxTypedWordLength + 7, '1');
    std::istringstream in(huge + " 7");
    std::string word;
    ASSERT_TRUE(readTypedWord(in, word));
    EXPECT_EQ(word, std::string(maxTypedWordLength, '1'));
    ASSERT_TRUE(readTypedWord(in, word));
    EXPECT_EQ(word, "7");
}

TEST(TypedWord, ControlCharactersAreFoundAnywhereButNotInPrintableNames) {
    EXPECT_TRUE(holdsControlCharacter(std::string("gfs.txt\0", 8)));
    EXPECT_TRUE(holdsControlCharacter("\x01gfs.txt"));
    EXPECT_TRUE(holdsControlCharacter("gfs\x7f.txt"));
    EXPECT_FALSE(holdsControlCharacter("runs/2026-12-08/gfs_1200~.txt"));
    EXPECT_FALSE(holdsControlCharacter("m\xc3\xa9t\xc3\xa9o.txt"));  // UTF-8 letters are no control
}

TEST(TypedName, QuotedNamesHoldBlanksAndAnythingElseIsOneWord) {
    struct Case {
        std::string typed;
        std::string name;
        bool unclosed;
        std::string left;  // what the next read finds
    };
    const Case cases[] = {
        {"  gfs.txt 7", "gfs.txt", false, " 7"},
        {"\"My Guidance/gfs.txt\" 7", "My Guidance/gfs.txt", false, " 7"},
        {"\"C:\\Users\\me\\My Guidance\\gfs.txt\"\r\n7", "C:\\Users\\me\\My Guidance\\gfs.txt",
         false, "\r\n7"},
        {"\"\" 7", "", false, " 7"},
        {"my\"odd name\" 7", "my\"odd", false, " name\" 7"},  // a quote inside stays a letter
        {"\"My Guidance/gfs.txt 7\n3", "My Guidance/gfs.txt 7", true, "\n3"},
        {"\"gfs.txt\r\n3", "gfs.txt", true, "\r\n3"},
        {"\"gfs.txt 7", "gfs.txt 7", true, ""},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.typed);
        TypedName name;
        ASSERT_TRUE(readTypedName(in, name)) << c.typed;
        EXPECT_EQ(name.text, c.name) << c.typed;
        EXPECT_EQ(name.unclosedQuote, c.unclosed) << c.typed;
        in.clear();
        const std::string left{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(left, c.left) << c.typed;
    }
    std::istringstream empty(" \n ");
    TypedName name;
    EXPECT_FALSE(readTypedName(empty, name));
}

TEST(TypedName, KeepsOnlyTheStartOfAHugeQuotedName) {
    std::istringstream in("\"" + std::string(2 * maxTypedWordLength, 'a') + "\" 7");
    TypedName name;
    ASSERT_TRUE(readTypedName(in, name));
    EXPECT_EQ(name.text, std::string(maxTypedWordLength, 'a'));
    EXPECT_FALSE(name.unclosedQuote);
    std::string next;
    ASSERT_TRUE(readTypedWord(in, next));
    EXPECT_EQ(next, "7");
}
