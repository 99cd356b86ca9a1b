#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "io/data_file.h"
#include "io/platform.h"
#include "io/report_file.h"
#include "test_support.h"

// What only POSIX has: permission bits and the umask, owners, pipes, sockets, links, and
// signals that kill (on Windows raise() ends the program with an exit code instead).

namespace fs = std::filesystem;

namespace {

// Writes a one-line report of the data file `dataName`; whether it was written.
bool writeReport(const std::string& dataName, const std::string& line) {
    ReportFile report(reportFileName(dataName));
    report.text << line << std::endl;
    return finishReport(report, std::cout);
}

// What a co-user does just before the rename: the temporary file swapped for a link to a
// file of theirs, or for another plain file.
bool swapForLink(const char* from, const char* to) {
    fs::remove(from);
    fs::create_symlink("theirs.txt", from);
    return systemReportCalls().rename(from, to);
}

bool swapForFile(const char* from, const char* to) {
    fs::remove(from);
    writeFile(from, "planted\n");
    return systemReportCalls().rename(from, to);
}

// What a twin run of the same command does between the rename and the check: puts its
// own whole report, the same text, in place; or the same text behind a link.
bool twinPlacesTheSame(const char* from, const char* to) {
    const bool renamed = systemReportCalls().rename(from, to);
    writeFile("twin.tmp", "new\n");
    fs::rename("twin.tmp", to);
    return renamed;
}

bool linkToTheSame(const char* from, const char* to) {
    const bool renamed = systemReportCalls().rename(from, to);
    writeFile("theirs.txt", "new\n");
    fs::remove(to);
    fs::create_symlink("theirs.txt", to);
    return renamed;
}

}  // namespace

TEST(ReportFile, ATwinRunsWholeReportInPlaceCountsAsWrittenAnythingElseNot) {
    for (const auto& [meddle, written] :
         {std::pair{&twinPlacesTheSame, true}, std::pair{&linkToTheSame, false},
          std::pair{&swapForFile, false}}) {
        ScopedTempDirectory dir;
        reportCalls().rename = meddle;
        ReportFile report(reportFileName("gfs.txt"));
        report.text << "new" << std::endl;
        std::ostringstream messages;
        EXPECT_EQ(finishReport(report, messages), written);
        reportCalls() = systemReportCalls();
        EXPECT_EQ(messages.str().empty(), written) << messages.str();
    }
}

TEST(ReportFile, ATemporarySwappedJustBeforeTheRenameIsToldAsNotWritten) {
    for (const auto swap : {swapForLink, swapForFile}) {
        ScopedTempDirectory dir;
        writeFile("theirs.txt", "their file\n");
        writeFile("gfs.out", "the older report\n");
        reportCalls().rename = swap;
        ReportFile report(reportFileName("gfs.txt"));
        report.text << "new" << std::endl;
        std::ostringstream messages;
        const bool written = finishReport(report, messages);
        reportCalls() = systemReportCalls();
        EXPECT_FALSE(written);
        EXPECT_EQ(messages.str(),
                  "The report file gfs.out holds another file than the report written: something "
                  "replaced it while it was put in place.\n");
        EXPECT_EQ(readFile("theirs.txt"), "their file\n");
    }
}

TEST(ReportFile, ANewReportIsReadWriteForOwnerAndGroupLessTheUmask) {
    ScopedTempDirectory dir;
    // With umask 0222 the file is made read-only, yet written through its descriptor.
    for (const mode_t mask : {mode_t{0}, mode_t{0222}, mode_t{0022}}) {
        fs::remove("gfs.out");
        const mode_t previousMask = umask(mask);
        const ScopedConsole console("");
        const bool written = writeReport("gfs.txt", "line");
        umask(previousMask);
        EXPECT_TRUE(written) << mask;
        EXPECT_EQ(console.output(), "");
        struct stat info {};
        ASSERT_EQ(stat("gfs.out", &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0664u & ~mask) << mask;
        EXPECT_EQ(readFile("gfs.out"), "line\n");
        EXPECT_EQ(entriesIn("."), 1);
    }
}

TEST(ReportFile, AnExistingReportIsReplacedAndKeepsItsPermissions) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "an older and much longer report\n");
    fs::permissions("gfs.out", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(writeReport("gfs.txt", "new"));
    EXPECT_EQ(readFile("gfs.out"), "new\n");
    EXPECT_EQ(fs::status("gfs.out").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(ReportFile, APipeOrSocketAtTheReportNameIsNeverOpened) {
    ScopedTempDirectory dir;
    ASSERT_EQ(mkfifo("pipe.out", 0600), 0);  // opening it for writing would wait for good
    // No device name ends in "out"; a socket stands for every other kind of file.
    const int socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "socket.out");
    ASSERT_EQ(bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    for (const char* name : {"pipe.txt", "socket.txt"}) {
        const ScopedConsole console("");
        EXPECT_FALSE(writeReport(name, "lost")) << name;
        EXPECT_EQ(console.output(), "The report file " + reportFileName(name) +
                                        " is not a plain file, so the report cannot be written "
                                        "there.\n");
    }
    EXPECT_TRUE(fs::is_fifo("pipe.out"));
    EXPECT_EQ(entriesIn("."), 2);
    close(socketFd);
}

TEST(ReportFile, ALinkAtTheReportNameIsReplacedAndItsTargetUntouched) {
    ScopedTempDirectory dir;
    writeFile("precious.dat", "keep me\n");
    fs::create_symlink("precious.dat", "gfs.out");
    fs::create_symlink("nowhere/missing.dat", "eta.out");
    for (const char* name : {"gfs.txt", "eta.txt"}) {
        EXPECT_TRUE(writeReport(name, "new")) << name;
        EXPECT_FALSE(fs::is_symlink(reportFileName(name))) << name;
        EXPECT_EQ(readFile(reportFileName(name)), "new\n");
    }
    EXPECT_EQ(readFile("precious.dat"), "keep me\n");
    EXPECT_FALSE(fs::exists("nowhere"));
}

TEST(ReportFile, ALinkOrFilePlantedAtTheTemporaryNameIsNeitherFollowedNorTouched) {
    ScopedTempDirectory dir;
    writeFile("precious.dat", "keep me\n");
    const std::string prefix = "gfs.out." + std::to_string(getpid()) + "-";
    fs::create_symlink("precious.dat", prefix + "0.tmp");
    fs::create_symlink("nowhere.dat", prefix + "1.tmp");
    writeFile(prefix + "2.tmp", "someone else's\n");
    EXPECT_TRUE(writeReport("gfs.txt", "new"));
    EXPECT_EQ(readFile("gfs.out"), "new\n");
    EXPECT_EQ(readFile("precious.dat"), "keep me\n");
    EXPECT_TRUE(fs::is_symlink(prefix + "0.tmp"));
    EXPECT_FALSE(fs::exists("nowhere.dat"));
    EXPECT_EQ(readFile(prefix + "2.tmp"), "someone else's\n");
    EXPECT_EQ(entriesIn("."), 5);
}

TEST(ReportFile, ATemporaryNameFitsWhereTheReportsNameFits) {
    // 251 characters and ".out": the longest name most file systems take. A backslash
    // is an ordinary character of a name here, as a name pasted from Windows may hold.
    for (const std::string& stem : {std::string(251, 'g'), "x\\" + std::string(249, 'y')}) {
        ScopedTempDirectory dir;
        ReportFile report(reportFileName(stem + ".txt"));
        ASSERT_GE(report.descriptor, 0) << stem;
        EXPECT_LE(fs::path(report.temporaryName).filename().string().size(), 255u);
        report.text << "long" << std::endl;
        EXPECT_TRUE(finishReport(report, std::cout));
        EXPECT_EQ(readFile(stem + ".out"), "long\n");
        EXPECT_EQ(entriesIn("."), 1);
    }
}

TEST(ReportFile, EverySignalThatEndsTheProgramRemovesTheTemporaryFirst) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "the older report\n");
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT, SIGALRM, SIGUSR1,
                                   SIGUSR2, SIGXCPU, SIGVTALRM, SIGPROF, SIGABRT, SIGRTMIN}) {
        EXPECT_EXIT(
            {
                // No core file may stand in the folder afterwards.
                rlimit noCore{};
                setrlimit(RLIMIT_CORE, &noCore);
                ReportFile report(reportFileName("gfs.txt"));
                report.text << "half of a new report";
                if (report.descriptor >= 0) {
                    std::raise(signalNumber);
                }
            },
            testing::KilledBySignal(signalNumber), "")
            << strsignal(signalNumber);
        EXPECT_EQ(entriesIn("."), 1) << strsignal(signalNumber);
        EXPECT_EQ(readFile("gfs.out"), "the older report\n");
    }
}

TEST(ReportFile, EveryFileInWritingAtOnceIsRemovedBySignalOrNeverBegun) {
    ScopedTempDirectory dir;
    // Two at once, as extract writes them: a signal before either is placed, and after one.
    for (const int placedFirst : {0, 1}) {
        writeFile("a.txt", "older a\n");
        writeFile("b.txt", "older b\n");
        EXPECT_EXIT(
            {
                ReportFile a("a.txt");
                ReportFile b("b.txt");
                a.text << "new a" << std::endl;
                b.text << "new b" << std::endl;
                if (placedFirst == 1) {
                    commitReport(a);
                }
                std::raise(SIGTERM);
            },
            testing::KilledBySignal(SIGTERM), "");
        EXPECT_EQ(entriesIn("."), 2);
        EXPECT_EQ(readFile("a.txt"), placedFirst == 1 ? "new a\n" : "older a\n");
        EXPECT_EQ(readFile("b.txt"), "older b\n");
    }
    // A file the handler could not hold is never begun; one more may begin once one ends.
    std::vector<std::unique_ptr<ReportFile>> files;
    for (int i = 0; i < 9; ++i) {
        files.push_back(std::make_unique<ReportFile>("f" + std::to_string(i) + ".txt"));
    }
    EXPECT_GE(files[7]->descriptor, 0);
    EXPECT_LT(files[8]->descriptor, 0);
    files[0].reset();
    ReportFile again("again.txt");
    EXPECT_GE(again.descriptor, 0);
}

extern "C" void countAlarm(int /*signalNumber*/) {}

TEST(ReportFile, ASignalIgnoredOrHandledBeforeKeepsItsWayDuringTheWrite) {
    ScopedTempDirectory dir;
    // A hang-up under nohup, and an alarm some other part of the process handles.
    for (const auto& [signalNumber, disposition] :
         {std::pair{SIGHUP, SIG_IGN}, std::pair{SIGALRM, &countAlarm}}) {
        fs::remove("gfs.out");
        EXPECT_EXIT(
            {
                std::signal(signalNumber, disposition);
                ReportFile report(reportFileName("gfs.txt"));
                report.text << "whole" << std::endl;
                std::raise(signalNumber);
                const bool written = finishReport(report, std::cout);
                std::exit(written && std::signal(signalNumber, SIG_DFL) == disposition ? 0 : 1);
            },
            testing::ExitedWithCode(0), "")
            << strsignal(signalNumber);
        EXPECT_EQ(readFile("gfs.out"), "whole\n");
        EXPECT_EQ(entriesIn("."), 1);
    }
}

TEST(ReportFile, AnotherUsersReportInASharedFolderIsRefusedAndKept) {
    // Root may write any file, so the refusal is seen from an unprivileged user.
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as a second, unprivileged user";
    }
    ScopedTempDirectory dir;
    fs::permissions(".", fs::perms::all);
    writeFile("gfs.out", "root's report\n");
    fs::permissions("gfs.out", fs::perms::owner_read | fs::perms::owner_write |
                                   fs::perms::group_read | fs::perms::others_read);
    EXPECT_EXIT(
        {
            if (setgid(65534) != 0 || setuid(65534) != 0) {
                std::exit(2);
            }
            const ScopedConsole console("");
            const bool written = writeReport("gfs.txt", "replaced");
            std::exit(!written && console.output() ==
                                      "The report file gfs.out could not be written "
                                      "(permission denied).\n"
                          ? 0
                          : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(readFile("gfs.out"), "root's report\n");
    EXPECT_EQ(entriesIn("."), 1);
}
