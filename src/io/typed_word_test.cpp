#include "io/typed_word.h"

#include <gtest/gtest.h>

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
