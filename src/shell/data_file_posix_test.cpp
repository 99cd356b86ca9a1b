#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/data_file.h"
#include "test_support.h"

// What only a POSIX file system has: FIFOs, devices under /dev, symbolic links, the umask
// and permission bits.

namespace fs = std::filesystem;

namespace {

const std::string prompt = "Please enter the name of the file with the .txt extension: ";

}  // namespace

TEST(DataFileDialogue, RefusesAPipeWithoutWaitingForAWriter) {
    ScopedTempDirectory dir;
    ASSERT_EQ(mkfifo("pipe.txt", 0600), 0);
    ScopedConsole console("pipe.txt");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
}

TEST(ReportFile, IsCreatedWithReadWriteForOwnerAndGroup) {
    ScopedTempDirectory dir;
    const mode_t previousMask = umask(0);
    std::ofstream report;
    openReportFile("gfs.txt", report);
    report << "line" << std::endl;
    ScopedConsole console("");
    EXPECT_TRUE(closeReportFile("gfs.txt", report));
    umask(previousMask);
    EXPECT_EQ(console.output(), "");
    struct stat info {};
    ASSERT_EQ(stat("gfs.out", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0664u);
    EXPECT_EQ(readFile("gfs.out"), "line\n");
}

TEST(DataFileDialogue, RefusesFoldersAndDevices) {
    ScopedTempDirectory dir;
    fs::create_directory("folder.txt");
    for (const char* input : {"folder.txt", "/dev/zero", "."}) {
        ScopedConsole console(input);
        std::string name;
        EXPECT_FALSE(openDataFile(name)) << input;
        EXPECT_EQ(console.output(), prompt + "The name " + input +
                                        " is not a plain file and cannot be read as data.\n");
    }
}

TEST(DataFileDialogue, RefusesADataFileReachedThroughItsReportName) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "FHR 1 2 3");
    fs::create_symlink("gfs.out", "gfs.txt");
    ScopedConsole console("gfs.txt");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
    EXPECT_EQ(console.output(), prompt +
                                    "The report file gfs.out would overwrite the data file "
                                    "gfs.txt; rename the data file and try again.\n");
    EXPECT_EQ(readFile("gfs.out"), "FHR 1 2 3");
}

TEST(ReportFile, AnExistingReportIsEmptiedAndKeepsItsPermissions) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "an older and much longer report\n");
    fs::permissions("gfs.out", fs::perms::owner_read | fs::perms::owner_write);
    std::ofstream report;
    openReportFile("gfs.txt", report);
    report << "new" << std::endl;
    EXPECT_TRUE(closeReportFile("gfs.txt", report));
    EXPECT_EQ(readFile("gfs.out"), "new\n");
    EXPECT_EQ(fs::status("gfs.out").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(ReportFile, AFullDiskIsToldByName) {
    ScopedTempDirectory dir;
    fs::create_symlink("/dev/full", "gfs.out");
    std::ofstream report;
    openReportFile("gfs.txt", report);
    report << "lost";  // buffered: the failure shows only when the report is closed
    ScopedConsole console("");
    EXPECT_FALSE(closeReportFile("gfs.txt", report));
    EXPECT_EQ(console.output(), "The report file gfs.out could not be written.\n");
}
