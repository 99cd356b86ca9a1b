#include "io/output_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "test_support.h"

namespace fs = std::filesystem;

TEST(OutputNames, NamesAreComparedByTheFileTheyDenote) {
    const ScopedTempDirectory folder;
    writeFile("data.txt", "data\n");
    writeFile("other.txt", "other\n");
    writeFile("model.csv", "the data itself\n");
    fs::create_directory("sub");
    std::error_code error;
    fs::create_symlink("data.txt", "link.txt", error);
    fs::create_symlink("model.csv", "model.txt", error);
    fs::create_directory_symlink("sub", "sublink", error);
    const bool links = !error;  // Windows may not let a user make links
    const std::string here = fs::current_path().string();

    struct Case {
        const char* first;
        std::string second;
        bool one;
        bool needsLinks;
    };
    const Case cases[] = {
        {"x.txt", "x.txt", true, false},          // the same spelling
        {"x.txt", "./x.txt", true, false},        // not there yet: the folder decides
        {"x.txt", here + "/x.txt", true, false},  // absolute
        {"x.txt", "sub/../x.txt", true, false},   // through a folder and back
        {"data.txt", "./data.txt", true, false},  // there: the file decides
        {"data.txt", here + "/sub/../data.txt", true, false},
        {"link.txt", "data.txt", true, true},        // a link and its target
        {"model.csv", "model.txt", true, true},      // a side file and linked data
        {"sublink/x.txt", "sub/x.txt", true, true},  // a linked folder, name still free
        {"data.txt", "other.txt", false, false},     // two files
        {"x.txt", "y.txt", false, false},            // two names free in one folder
        {"x.txt", "sub/x.txt", false, false},        // one name free in two folders
        {"data.txt", "sub/data.txt", false, false},  // one there, one not
        {"link.txt", "other.txt", false, true},
    };
    for (const Case& c : cases) {
        if (c.needsLinks && !links) {
            continue;
        }
        EXPECT_EQ(namesOneFile(c.first, c.second), c.one) << c.first << " and " << c.second;
        EXPECT_EQ(namesOneFile(c.second, c.first), c.one) << c.second << " and " << c.first;
    }
    // Nothing is made by asking.
    EXPECT_FALSE(fs::exists("x.txt"));
    EXPECT_FALSE(fs::exists("sub/x.txt"));
}
