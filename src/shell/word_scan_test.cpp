#include "shell/word_scan.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(WordScan, ReadsWordsLikeStreamExtraction) {
    std::istringstream in("  FHR:\tfhr\n\nFHR  last");
    std::string word;
    ASSERT_TRUE(readWord(in, word));
    EXPECT_EQ(word, "FHR:");
    ASSERT_TRUE(readWord(in, word));
    EXPECT_EQ(word, "fhr");
    ASSERT_TRUE(readWord(in, word));
    EXPECT_EQ(word, "FHR");
    EXPECT_EQ(in.peek(), ' ');  // the blank after a word stays in the input
    ASSERT_TRUE(readWord(in, word));
    EXPECT_EQ(word, "last");
    EXPECT_TRUE(in.eof());  // the file ended inside the word
    EXPECT_FALSE(in.fail());
    EXPECT_FALSE(readWord(in, word));
    EXPECT_TRUE(in.fail());
}

TEST(WordScan, AWordFollowedByALineEndDoesNotReachTheEnd) {
    std::istringstream in("KFSD\n");
    std::string word;
    ASSERT_TRUE(readWord(in, word));
    EXPECT_FALSE(in.eof());
}

TEST(WordScan, AHugeWordIsConsumedWithoutMatchingAShortOne) {
    const std::string huge(1 << 20, 'F');
    std::istringstream in(huge + " " + huge.substr(0, 3) + "X FHR 7");
    EXPECT_TRUE(skipPastWord(in, "FHR"));
    int next = 0;
    in >> next;
    EXPECT_EQ(next, 7);

    std::istringstream startsLikeIt("FHR" + huge);
    EXPECT_FALSE(skipPastWord(startsLikeIt, "FHR"));
}

TEST(WordScan, SearchEndsAtTheEndOfInputOrAFailedStream) {
    std::istringstream none("no marker here");
    EXPECT_FALSE(skipPastWord(none, "FHR"));
    std::istringstream failed("FHR");
    failed.setstate(std::ios::failbit);
    EXPECT_FALSE(skipPastWord(failed, "FHR"));
}

TEST(WordScan, SearchStopsAtTheStopWord) {
    std::istringstream in("N/X 1 2 KHON ETA N/X 3");
    EXPECT_FALSE(skipPastWord(in, "DPT", "KHON"));
    std::string word;
    readWord(in, word);
    EXPECT_EQ(word, "ETA");  // the stop word itself was consumed
    EXPECT_TRUE(skipPastWord(in, "N/X", "KMHE"));
}
