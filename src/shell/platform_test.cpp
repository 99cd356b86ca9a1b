#include "shell/platform.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

int entriesIn(const fs::path& folder) {
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++entries;
    }
    return entries;
}

}  // namespace

TEST(ReportTemporary, IsMadeBesideTheReportAndGoneOnceReplacedOrDiscarded) {
    ScopedTempDirectory dir;
    fs::create_directory("runs");
    const std::string kept = createReportTemporary("runs/gfs.out");
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(fs::path(kept).parent_path(), "runs");
    EXPECT_EQ(entriesIn("runs"), 1);
    EXPECT_TRUE(replaceReportWithTemporary(kept, "runs/gfs.out"));
    EXPECT_TRUE(fs::is_regular_file("runs/gfs.out"));

    const std::string dropped = createReportTemporary("runs/gfs.out");
    ASSERT_FALSE(dropped.empty());
    EXPECT_EQ(entriesIn("runs"), 2);
    discardReportTemporary(dropped);
    EXPECT_EQ(entriesIn("runs"), 1);

    // Windows' own rename refuses to replace a file: the newer report must still win.
    const std::string newer = createReportTemporary("runs/gfs.out");
    ASSERT_FALSE(newer.empty());
    writeFile(newer, "newer\n");
    EXPECT_TRUE(replaceReportWithTemporary(newer, "runs/gfs.out"));
    EXPECT_EQ(readFile("runs/gfs.out"), "newer\n");
    EXPECT_EQ(entriesIn("runs"), 1);

    EXPECT_TRUE(createReportTemporary("missing/gfs.out").empty());
}
