#include "grib/grib_message_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "test_support.h"

namespace {

struct Section {
    int number;
    std::uint32_t length;  // as declared
    int body = -1;         // bytes after the five of its head; -1: as its length says
};

std::vector<unsigned char> bigEndian(std::uint64_t value, int bytes) {
    std::vector<unsigned char> out;
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
    return out;
}

// A message of `sections`, each filled with zeros, framed by the indicator and "7777";
// `lengthChange` is added to the total length the indicator declares.
std::vector<unsigned char> makeMessage(const std::vector<Section>& sections,
                                       const std::string& end = "7777", int edition = 2,
                                       long lengthChange = 0) {
    std::vector<unsigned char> body;
    for (const Section& section : sections) {
        const std::vector<unsigned char> length = bigEndian(section.length, 4);
        body.insert(body.end(), length.begin(), length.end());
        body.push_back(static_cast<unsigned char>(section.number));
        const int rest = section.body >= 0 ? section.body : static_cast<int>(section.length) - 5;
        body.insert(body.end(), static_cast<std::size_t>(std::max(rest, 0)), 0);
    }
    const std::uint64_t total = gribIndicatorLength + body.size() + end.size();
    std::vector<unsigned char> message = {'G', 'R', 'I', 'B',
                                          0,   0,   0,   static_cast<unsigned char>(edition)};
    const std::vector<unsigned char> length =
        bigEndian(total + static_cast<std::uint64_t>(lengthChange), 8);
    message.insert(message.end(), length.begin(), length.end());
    message.insert(message.end(), body.begin(), body.end());
    message.insert(message.end(), end.begin(), end.end());
    return message;
}

// Each section at its fixed part: 21, 5, 14, 9, 11, 6 and 5 bytes.
const Section s1{1, 21}, s2{2, 5}, s3{3, 14}, s4{4, 9}, s5{5, 11}, s6{6, 6}, s7{7, 5};
// A data section of some values: a faulty message is then no shorter than the shortest.
const Section d7{7, 60};

TEST(GribMessageCheck, TakesEveryOrderEditionTwoAllowsAndRefusesEveryOther) {
    struct Case {
        const char* what;
        std::vector<Section> sections;
        std::string fault;  // empty: taken
    };
    const Case cases[] = {
        {"the shortest message", {s1, s3, s4, s5, s6, s7}, ""},
        {"with local use", {s1, s2, s3, s4, s5, s6, d7}, ""},
        {"U and V packed: 4 to 7 again", {s1, s3, s4, s5, s6, d7, s4, s5, s6, d7}, ""},
        {"a second grid", {s1, s3, s4, s5, s6, d7, s3, s4, s5, s6, d7}, ""},
        {"local use again", {s1, s2, s3, s4, s5, s6, d7, s2, s3, s4, s5, s6, d7}, ""},
        {"longer sections", {{1, 40}, {3, 72}, {4, 34}, {5, 21}, {6, 6}, {7, 900}}, ""},
        {"no section 1",
         {s3, s4, s5, s6, d7},
         "section 3 follows section 0, where edition 2 allows section 1"},
        {"section 1 twice",
         {s1, s1, s3, s4, s5, s6, d7},
         "section 1 follows section 1, where edition 2 allows section 2 or 3"},
        {"no grid",
         {s1, s4, s5, s6, d7},
         "section 4 follows section 1, where edition 2 allows section 2 or 3"},
        {"section 5 renumbered 99",
         {s1, s3, s4, {99, 11}, s6, d7},
         "section 99 follows section 4, where edition 2 allows section 5"},
        {"section 6 renumbered 99",
         {s1, s3, s4, s5, {99, 6}, d7},
         "section 99 follows section 5, where edition 2 allows section 6"},
        {"section 7 renumbered 99",
         {s1, s3, s4, s5, s6, {99, 5}},
         "section 99 follows section 6, where edition 2 allows section 7"},
        {"a group begun at 5",
         {s1, s3, s4, s5, s6, d7, s5, s6, d7},
         "section 5 follows section 7, where edition 2 allows section 2, 3 or 4, or 7777"},
        {"a section 8",
         {s1, s3, s4, s5, s6, d7, {8, 5}},
         "section 8 follows section 7, where edition 2 allows section 2, 3 or 4, or 7777"},
        {"ends after section 6",
         {s1, s3, {4, 60}, s5, s6},
         "the message ends after section 6, where edition 2 allows section 7"},
        {"ends after a second section 4",
         {s1, s3, s4, s5, s6, d7, s4},
         "the message ends after section 4, where edition 2 allows section 5"},
        {"section 1 of length 0",
         {{1, 0, 16}, s3, s4, s5, s6, d7},
         "section 1's length 0 is shorter than its fixed part of 21 bytes"},
        {"section 1 a byte short",
         {{1, 20}, s3, s4, s5, s6, d7},
         "section 1's length 20 is shorter than its fixed part of 21 bytes"},
        {"section 2 a byte short",
         {s1, {2, 4, 0}, s3, s4, s5, s6, d7},
         "section 2's length 4 is shorter than its fixed part of 5 bytes"},
        {"section 3 a byte short",
         {s1, {3, 13}, s4, s5, s6, d7},
         "section 3's length 13 is shorter than its fixed part of 14 bytes"},
        {"section 4 a byte short",
         {s1, s3, {4, 8}, s5, s6, d7},
         "section 4's length 8 is shorter than its fixed part of 9 bytes"},
        {"section 5 a byte short",
         {s1, s3, s4, {5, 10}, s6, d7},
         "section 5's length 10 is shorter than its fixed part of 11 bytes"},
        {"section 6 a byte short",
         {s1, s3, s4, s5, {6, 5}, d7},
         "section 6's length 5 is shorter than its fixed part of 6 bytes"},
        {"section 7 a byte short",
         {s1, s3, s4, s5, s6, {7, 4, 0}},
         "section 7's length 4 is shorter than its fixed part of 5 bytes"},
        {"section 4 of 0xffffff00",
         {s1, s3, {4, 0xffffff00, 4}, s5, s6, d7},
         "section 4's length 4294967040 runs past the message's end"},
        {"section 5 of 0xffffff00",
         {s1, s3, s4, {5, 0xffffff00, 6}, s6, d7},
         "section 5's length 4294967040 runs past the message's end"},
        {"section 6 of 0xffffff00",
         {s1, s3, s4, s5, {6, 0xffffff00, 1}, d7},
         "section 6's length 4294967040 runs past the message's end"},
        {"section 7 of 0xffffff00",
         {s1, s3, s4, s5, s6, {7, 0xffffff00, 0}},
         "section 7's length 4294967040 runs past the message's end"},
        {"section 7 a byte into 7777",
         {s1, s3, s4, s5, s6, {7, 6, 0}},
         "section 7's length 6 runs past the message's end"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkGribMessage(makeMessage(c.sections)), c.fault) << c.what;
    }
    // Three bytes before 7777: too few for a section's head.
    std::vector<unsigned char> stray = makeMessage({s1, s3, s4, s5, s6, s7, {0, 0, 0}});
    stray.erase(stray.end() - 4 - 2, stray.end() - 4);
    stray[15] = static_cast<unsigned char>(stray.size());
    EXPECT_EQ(checkGribMessage(stray), "the 3 bytes after section 7 are no section");
}

TEST(GribMessageCheck, RefusesAnIndicatorThatIsNoEditionTwoOfABoundedLength) {
    const std::vector<Section> shortest = {s1, s3, s4, s5, s6, s7};
    EXPECT_EQ(makeMessage(shortest).size(), gribShortestMessage);
    EXPECT_EQ(checkGribMessage(makeMessage(shortest, "7777", 1)),
              "a GRIB edition 1 message; wxguide reads GRIB2");
    EXPECT_EQ(checkGribMessage(makeMessage(shortest, "7777", 3)),
              "a GRIB edition 3 message; wxguide reads GRIB2");
    std::vector<unsigned char> notGrib = makeMessage(shortest);
    notGrib[3] = 'X';
    EXPECT_EQ(checkGribMessage(notGrib), "no GRIB message begins there");
    EXPECT_EQ(checkGribMessage(std::vector<unsigned char>{'G', 'R', 'I', 'B'}),
              "no GRIB message begins there");
    // The declared length against the bytes there are, and the 7777 where it ends.
    EXPECT_EQ(checkGribMessage(makeMessage(shortest, "7777", 2, 1)),
              "its length 87 is not the 86 bytes it has");
    EXPECT_EQ(checkGribMessage(makeMessage(shortest, "7777", 2, -1)),
              "its length 85 is shorter than the 86 bytes of the shortest GRIB2 message");
    EXPECT_EQ(checkGribMessage(makeMessage(shortest, "7776")),
              "no 7777 where its length says the message ends");
    EXPECT_EQ(checkGribMessage(makeMessage({s1, s3, s4, s5, s6, s7, {0, 0x37373737, 0}}, "7777")),
              "7777 at byte 82, before the end its length gives");
    // The bound, read from the indicator alone.
    std::vector<unsigned char> head = makeMessage(shortest);
    head.resize(gribIndicatorLength);
    const auto declare = [&](std::uint64_t length) {
        const std::vector<unsigned char> bytes = bigEndian(length, 8);
        std::copy(bytes.begin(), bytes.end(), head.begin() + 8);
    };
    std::uint64_t length = 0;
    std::string fault;
    declare(gribMessageLengthBound);
    EXPECT_TRUE(readGribLength(head, length, fault)) << fault;
    EXPECT_EQ(length, gribMessageLengthBound);
    declare(gribMessageLengthBound + 1);
    EXPECT_FALSE(readGribLength(head, length, fault));
    EXPECT_EQ(fault, "its length 33554433 is over the 33554432 bytes wxguide reads in a message");
    declare(~std::uint64_t{0});
    EXPECT_FALSE(readGribLength(head, length, fault));
    head.pop_back();
    EXPECT_FALSE(readGribLength(head, length, fault));
    EXPECT_EQ(fault, "no GRIB message begins there");
}

TEST(GribMessageCheck, TakesEveryMessageOfTheRealSamples) {
    for (const char* name : {"gfs_2p5deg_f120_fields.grib2", "gfs_1deg_apcp_0_24.grib2"}) {
        const std::string text = readFile(std::string(WXGUIDE_TEST_PRODUCTS_DIR) + "/grib/" + name);
        const std::vector<unsigned char> bytes(text.begin(), text.end());
        std::size_t at = 0, messages = 0;
        while (at < bytes.size()) {
            std::uint64_t length = 0;
            std::string fault;
            ASSERT_TRUE(readGribLength(std::span(bytes).subspan(at), length, fault)) << fault;
            ASSERT_LE(at + length, bytes.size());
            EXPECT_EQ(checkGribMessage(std::span(bytes).subspan(at, length)), "")
                << name << " message " << messages + 1;
            at += length;
            ++messages;
        }
        EXPECT_GT(messages, 10u) << name;
    }
}

TEST(GribMessageCheck, SplitsAMessageIntoItsFieldsEachWithItsGridAndBitmap) {
    // A field on a first grid with a bitmap; two fields on a second grid, the first with
    // none, the second referring back to the bitmap given before (indicator 254).
    const Section grid1{3, 15}, grid2{3, 16}, local{2, 7}, bitmapHere{6, 8, 3},
        bitmapBefore{6, 6, 1}, noBitmap{6, 6, 1};
    std::vector<unsigned char> message =
        makeMessage({s1, local, grid1, s4, s5, bitmapHere, d7, grid2, s4, s5, noBitmap, d7, s4, s5,
                     bitmapBefore, d7});
    // Section 6's sixth byte: 0 here (with two bytes of bitmap), 255 none, 254 before.
    const std::size_t firstSix = 16 + 21 + 7 + 15 + 9 + 11;
    const std::size_t secondSix = firstSix + 8 + 60 + 16 + 9 + 11;
    const std::size_t thirdSix = secondSix + 6 + 60 + 9 + 11;
    message[firstSix + 5] = 0;
    message[firstSix + 6] = 0xaa;
    message[secondSix + 5] = 255;
    message[thirdSix + 5] = 254;
    ASSERT_EQ(checkGribMessage(message), "");
    std::vector<std::vector<unsigned char>> fields;
    std::string fault;
    ASSERT_TRUE(splitGribFields(message, fields, fault)) << fault;
    ASSERT_EQ(fields.size(), 3u);
    const auto bytes = [&](std::size_t at, std::size_t length) {
        return std::vector<unsigned char>(message.begin() + static_cast<long>(at),
                                          message.begin() + static_cast<long>(at + length));
    };
    const std::vector<unsigned char> head = bytes(0, 8), one = bytes(16, 21 + 7),
                                     firstGrid = bytes(16 + 28, 15),
                                     secondGrid = bytes(secondSix - 20 - 16, 16),
                                     bitmap = bytes(firstSix, 8);
    for (const std::vector<unsigned char>& field : fields) {
        EXPECT_EQ(checkGribMessage(field), "");
        EXPECT_TRUE(std::equal(head.begin(), head.end(), field.begin()));
        EXPECT_TRUE(std::equal(one.begin(), one.end(), field.begin() + 16));
    }
    EXPECT_TRUE(std::equal(firstGrid.begin(), firstGrid.end(), fields[0].begin() + 44));
    EXPECT_TRUE(std::equal(secondGrid.begin(), secondGrid.end(), fields[1].begin() + 44));
    EXPECT_TRUE(std::equal(secondGrid.begin(), secondGrid.end(), fields[2].begin() + 44));
    EXPECT_TRUE(std::equal(bitmap.begin(), bitmap.end(), fields[2].begin() + 44 + 16 + 20));
    EXPECT_EQ(fields[2].size(), 16u + 28 + 16 + 20 + 8 + 60 + 4);

    message[firstSix + 5] = 255;  // no bitmap before the reference to one
    EXPECT_FALSE(splitGribFields(message, fields, fault));
    EXPECT_EQ(fault, "section 6 refers to a bitmap before it, and none was given");
}

}  // namespace
