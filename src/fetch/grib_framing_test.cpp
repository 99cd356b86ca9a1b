#include "fetch/grib_framing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string sample() {
    std::ifstream in(std::string(WXGUIDE_TEST_PRODUCTS_DIR) + "/grib/gfs_2p5deg_f120_fields.grib2",
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

BodyCheck checkBytes(const std::string& bytes, std::size_t messages) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "wxguide_grib_framing_test.grib2";
    std::ofstream(file, std::ios::binary) << bytes;
    const BodyCheck checked = checkWholeMessages(file, messages);
    std::filesystem::remove(file);
    return checked;
}

}  // namespace

TEST(GribFraming, TakesWholeMessagesOnlyAndAsManyAsAsked) {
    const std::string all = sample();
    ASSERT_GT(all.size(), 100000u);
    // The sample's first two messages, by its own .idx: 0 to 16298, 16299 to 23481.
    const std::string two = all.substr(0, 23482);
    EXPECT_EQ(checkBytes(two, 2).verdict, BodyVerdict::whole) << checkBytes(two, 2).problem;
    EXPECT_EQ(checkBytes(all, 45).verdict, BodyVerdict::whole) << checkBytes(all, 45).problem;
    struct Refusal {
        std::string bytes;
        std::size_t messages;
        std::string problem;
    };
    const Refusal refusals[] = {
        {two, 3, "2 whole messages where 3 were asked for"},
        {two, 1, "2 whole messages where 1 were asked for"},
        {two.substr(0, 23481), 2,
         "message 2 at byte 16299: it does not end in 7777 where its length says"},
        {two.substr(0, 16305), 2, "message 2 at byte 16299: the bytes end inside its indicator"},
        {std::string(23482, '\0'), 2, "message 1 at byte 0: no GRIB message begins there"},
        {two.substr(1), 2, "message 1 at byte 0: no GRIB message begins there"},
    };
    for (const Refusal& refusal : refusals) {
        const BodyCheck checked = checkBytes(refusal.bytes, refusal.messages);
        EXPECT_EQ(checked.verdict, BodyVerdict::refused) << refusal.problem;
        EXPECT_EQ(checked.problem, refusal.problem);
    }
}
