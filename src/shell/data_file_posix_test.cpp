#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/data_file.h"
#include "test_support.h"

// What only a POSIX file system has: FIFOs, sockets, devices under /dev, symbolic links,
// the umask and permission bits.

namespace fs = std::filesystem;

namespace {

const std::string prompt = "Please enter the name of the file with the .txt extension: ";

}  // namespace

TEST(DataFileDialogue, RefusesDevices) {
    ScopedConsole console("/dev/zero");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
    EXPECT_EQ(console.output(),
              prompt + "The name /dev/zero is not a plain file and cannot be read as data.\n");
}

TEST(DataFileDialogue, RefusesAPipeWithoutWaitingForAWriter) {
    ScopedTempDirectory dir;
    ASSERT_EQ(mkfifo("pipe.txt", 0600), 0);
    ScopedConsole console("pipe.txt");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
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

TEST(ReportFile, APipeOrDeviceAtTheReportNameIsNeverOpened) {
    ScopedTempDirectory dir;
    ASSERT_EQ(mkfifo("pipe.out", 0600), 0);  // opening it for writing would wait for good
    // No device name ends in "out"; a socket stands for every other kind of file.
    const int socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "socket.out");
    ASSERT_EQ(bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    for (const char* name : {"pipe.txt", "socket.txt"}) {
        std::ofstream report;
        openReportFile(name, report);
        report << "lost" << std::endl;
        ScopedConsole console("");
        EXPECT_FALSE(closeReportFile(name, report)) << name;
        EXPECT_EQ(console.output(), "The report file " + reportFileName(name) +
                                        " is not a plain file, so the report cannot be written "
                                        "there.\n");
    }
    EXPECT_TRUE(fs::is_fifo("pipe.out"));
    close(socketFd);
}

TEST(ReportFile, ALinkAtTheReportNameIsReplacedAndItsTargetUntouched) {
    ScopedTempDirectory dir;
    writeFile("precious.dat", "keep me\n");
    fs::create_symlink("precious.dat", "gfs.out");
    fs::create_symlink("nowhere/missing.dat", "eta.out");
    for (const char* name : {"gfs.txt", "eta.txt"}) {
        std::ofstream report;
        openReportFile(name, report);
        report << "new" << std::endl;
        EXPECT_TRUE(closeReportFile(name, report)) << name;
        EXPECT_FALSE(fs::is_symlink(reportFileName(name))) << name;
        EXPECT_EQ(readFile(reportFileName(name)), "new\n");
    }
    EXPECT_EQ(readFile("precious.dat"), "keep me\n");
    EXPECT_FALSE(fs::exists("nowhere"));
}
