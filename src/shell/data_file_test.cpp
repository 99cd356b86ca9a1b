#include "shell/data_file.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <filesystem>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string prompt = "Please enter the name of the file with the .txt extension: ";
const std::string notFound = "You entered a file name wich does not exist in the directory.\n";

}  // namespace

TEST(ReportName, ReplacesTheLastThreeCharacters) {
    EXPECT_EQ(reportFileName("forecast.txt"), "forecast.out");
    EXPECT_EQ(reportFileName("abc.dat"), "abc.out");
    EXPECT_EQ(reportFileName("gfsdata"), "gfsdout");
    EXPECT_EQ(reportFileName("abc"), "out");
    EXPECT_EQ(reportFileName("runs/today/gfs.txt"), "runs/today/gfs.out");
}

TEST(DataFileDialogue, AcceptsAnExistingFileWhateverItHolds) {
    ScopedTempDirectory dir;
    writeFile("empty.txt", "");
    ScopedConsole console("  empty.txt rest of line\n");
    std::string name;
    EXPECT_TRUE(openDataFile(name));
    EXPECT_EQ(name, "empty.txt");
    EXPECT_EQ(console.output(), prompt);
    std::string rest;
    std::cin >> rest;
    EXPECT_EQ(rest, "rest");
}

TEST(DataFileDialogue, AcceptsNamesLongerThanTwentyNineCharacters) {
    ScopedTempDirectory dir;
    fs::create_directories("a/rather/deep/folder/of/saved/guidance");
    const std::string name = "a/rather/deep/folder/of/saved/guidance/gfs.txt";
    writeFile(name, "FHR");
    ScopedConsole console(name + "\n");
    std::string typed;
    EXPECT_TRUE(openDataFile(typed));
    EXPECT_EQ(typed, name);
}

TEST(DataFileDialogue, MissingFileOrNoInputGivesTheNotFoundMessage) {
    ScopedTempDirectory dir;
    for (const char* input : {"missing.txt\n", "", "   \n\n"}) {
        ScopedConsole console(input);
        std::string name = "left over";
        EXPECT_FALSE(openDataFile(name)) << input;
        EXPECT_EQ(console.output(), prompt + notFound) << input;
    }
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

TEST(DataFileDialogue, RefusesAPipeWithoutWaitingForAWriter) {
    ScopedTempDirectory dir;
    ASSERT_EQ(mkfifo("pipe.txt", 0600), 0);
    ScopedConsole console("pipe.txt");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
}

TEST(DataFileDialogue, RefusesANameHoldingAControlCharacter) {
    ScopedTempDirectory dir;
    writeFile("gfs.txt", "FHR");
    for (const std::string& input : {std::string("gfs.txt\0\0\0", 10), std::string("gfs\x1b.txt"),
                                     std::string("gfs.txt\x7f")}) {
        ScopedConsole console(input);
        std::string name;
        EXPECT_FALSE(openDataFile(name));
        EXPECT_EQ(console.output(), prompt +
                                        "The file name you typed holds a control character and "
                                        "cannot name a file.\n");
    }
    EXPECT_FALSE(fs::exists("gfs.txtout"));
}

TEST(DataFileDialogue, RefusesAnExistingNameTooShortForItsReport) {
    ScopedTempDirectory dir;
    writeFile("ab", "FHR");
    ScopedConsole console("ab");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
    EXPECT_EQ(console.output(), prompt +
                                    "The file name ab is too short: its report takes the name "
                                    "with the last three characters replaced by out.\n");
}

TEST(DataFileDialogue, AMissingShortNameIsSimplyNotFound) {
    ScopedTempDirectory dir;
    ScopedConsole console("ab");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
    EXPECT_EQ(console.output(), prompt + notFound);
}

TEST(DataFileDialogue, RefusesADataFileThatWouldBeItsOwnReport) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "FHR 1 2 3");
    ScopedConsole console("gfs.out");
    std::string name;
    EXPECT_FALSE(openDataFile(name));
    EXPECT_EQ(console.output(), prompt +
                                    "The report file gfs.out would overwrite the data file "
                                    "gfs.out; rename the data file and try again.\n");
    EXPECT_EQ(readFile("gfs.out"), "FHR 1 2 3");
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

TEST(ReportFile, AFolderPipeOrDeviceAtTheReportNameIsNeverOpened) {
    ScopedTempDirectory dir;
    fs::create_directory("folder.out");
    ASSERT_EQ(mkfifo("pipe.out", 0600), 0);  // opening it for writing would wait for good
    // No device name ends in "out"; a socket stands for every other kind of file.
    const int socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "socket.out");
    ASSERT_EQ(bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    for (const char* name : {"folder.txt", "pipe.txt", "socket.txt"}) {
        std::ofstream report;
        openReportFile(name, report);
        report << "lost" << std::endl;
        ScopedConsole console("");
        EXPECT_FALSE(closeReportFile(name, report)) << name;
        EXPECT_EQ(console.output(), "The report file " + reportFileName(name) +
                                        " is not a plain file, so the report cannot be written "
                                        "there.\n");
    }
    EXPECT_TRUE(fs::is_directory("folder.out"));
    EXPECT_TRUE(fs::is_fifo("pipe.out"));
    close(socketFd);
}

TEST(ReportFile, AMissingFolderIsToldByName) {
    ScopedTempDirectory dir;
    std::ofstream report;
    openReportFile("no/such/gfs.txt", report);
    report << "lost" << std::endl;
    ScopedConsole console("");
    EXPECT_FALSE(closeReportFile("no/such/gfs.txt", report));
    EXPECT_EQ(console.output(), "The report file no/such/gfs.out could not be written.\n");
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

TEST(ReportFile, AFailedWriteKeepsTheOlderReportAndLeavesNoTemporaryFile) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "the older report\n");
    std::ofstream report;
    openReportFile("gfs.txt", report);
    EXPECT_EQ(fs::file_size("gfs.out"), 17u);  // nothing is emptied before the write ends
    report << "half of a new";
    report.setstate(std::ios::badbit);  // as a full disk leaves the stream
    ScopedConsole console("");
    EXPECT_FALSE(closeReportFile("gfs.txt", report));
    EXPECT_EQ(console.output(), "The report file gfs.out could not be written.\n");
    EXPECT_EQ(readFile("gfs.out"), "the older report\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(".")) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}
