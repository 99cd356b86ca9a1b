#include "io/report_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "io/data_file.h"
#include "io/platform.h"
#include "test_support.h"

namespace fs = std::filesystem;

TEST(ReportFile, ReplacesTheOlderReportOnlyWhenFinished) {
    ScopedTempDirectory dir;
    fs::create_directory("runs");
    writeFile("runs/gfs.out", "the older report\n");
    {
        ReportFile report(reportFileName("runs/gfs.txt"));
        report.text << "new";  // no line end: Windows writes CR LF for it
        // Beside the report, and nothing emptied before the report is finished.
        EXPECT_EQ(fs::path(report.temporaryName).parent_path(), "runs");
        EXPECT_EQ(entriesIn("runs"), 2);
        EXPECT_EQ(readFile("runs/gfs.out"), "the older report\n");
        const ScopedConsole console("");
        EXPECT_TRUE(finishReport(report, std::cout));
        EXPECT_EQ(console.output(), "");
    }
    EXPECT_EQ(readFile("runs/gfs.out"), "new");
    EXPECT_EQ(entriesIn("runs"), 1);
}

TEST(ReportFile, OneNeverFinishedIsRemovedAndTheOlderKept) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "the older report\n");
    {
        ReportFile report(reportFileName("gfs.txt"));
        report.text << "half of a new";
        EXPECT_EQ(entriesIn("."), 2);
    }
    EXPECT_EQ(readFile("gfs.out"), "the older report\n");
    EXPECT_EQ(entriesIn("."), 1);
}

TEST(ReportFile, AFailedWriteKeepsTheOlderReportAndLeavesNoTemporaryFile) {
    ScopedTempDirectory dir;
    writeFile("gfs.out", "the older report\n");
    ReportFile report(reportFileName("gfs.txt"));
    report.text << "half of a new";
    report.text.setstate(std::ios::badbit);  // as a failed formatting leaves the stream
    const ScopedConsole console("");
    EXPECT_FALSE(finishReport(report, std::cout));
    EXPECT_EQ(console.output(), "The report file gfs.out could not be written.\n");
    EXPECT_EQ(readFile("gfs.out"), "the older report\n");
    EXPECT_EQ(entriesIn("."), 1);
}

TEST(ReportFile, WhatCannotBeWrittenIsToldOnceByName) {
    ScopedTempDirectory dir;
    fs::create_directory("folder.out");
    const struct {
        const char* dataName;
        const char* told;
    } cases[] = {
        {"folder.txt",
         "The report file folder.out is not a plain file, so the report cannot be written "
         "there.\n"},
        {"no/such/gfs.txt",
         "The report file no/such/gfs.out could not be written (no such file or directory).\n"},
    };
    for (const auto& refused : cases) {
        ReportFile report(reportFileName(refused.dataName));
        report.text << "lost" << std::endl;
        const ScopedConsole console("");
        EXPECT_FALSE(finishReport(report, std::cout)) << refused.dataName;
        EXPECT_EQ(console.output(), refused.told);
    }
    EXPECT_TRUE(fs::is_directory("folder.out"));
    EXPECT_EQ(entriesIn("folder.out"), 0);
}

TEST(ReportFile, AFolderMadeAtTheNameDuringTheRunKeepsItAndLeavesNoTemporary) {
    ScopedTempDirectory dir;
    ReportFile report(reportFileName("gfs.txt"));
    report.text << "lost";
    // Made after the name was checked: the rename into place fails.
    fs::create_directories("gfs.out/older");
    const ScopedConsole console("");
    EXPECT_FALSE(finishReport(report, std::cout));
    // The system's reason (a folder is there) is worded by each system in its own way.
    EXPECT_TRUE(console.output().starts_with("The report file gfs.out could not be written"))
        << console.output();
    EXPECT_TRUE(console.output().ends_with(".\n")) << console.output();
    EXPECT_TRUE(fs::is_directory("gfs.out/older"));
    EXPECT_EQ(entriesIn("."), 1);
}

namespace {

// Stand-ins for the system's calls, each failing one step of putting a report in place.
long failedWrite(int, const char*, std::size_t) {
    return -1;
}
long nothingWritten(int, const char*, std::size_t) {
    return 0;
}
long oneByteThenFailed(int descriptor, const char* data, std::size_t) {
    static bool wrote = false;
    wrote = !wrote;
    return wrote ? systemReportCalls().write(descriptor, data, 1) : -1;
}
long oneByteAtATime(int descriptor, const char* data, std::size_t) {
    return systemReportCalls().write(descriptor, data, 1);
}
bool failedSync(int) {
    return false;
}
bool closedButFailed(int descriptor) {
    systemReportCalls().close(descriptor);  // as a close that reports a late write error
    return false;
}
bool failedRename(const char*, const char*) {
    return false;
}
long diskFull(int, const char*, std::size_t) {
    errno = ENOSPC;
    return -1;
}
long diskFullAfterOneByte(int descriptor, const char* data, std::size_t) {
    static bool wrote = false;
    wrote = !wrote;
    if (wrote) {
        return systemReportCalls().write(descriptor, data, 1);
    }
    errno = ENOSPC;
    return -1;
}
bool deniedClose(int descriptor) {
    systemReportCalls().close(descriptor);
    errno = EACCES;
    return false;
}
// The temporary gone as well: clearing it up fails too, and must not hide the reason.
bool readOnlyRename(const char* from, const char*) {
    std::remove(from);
    errno = EROFS;
    return false;
}

}  // namespace

// A full disk, a lost network file system: every failed call keeps the older report and
// leaves no temporary file; a write that takes the bytes one at a time still writes all.
TEST(ReportFile, EveryFailedCallOnTheWayKeepsTheOlderReport) {
    const struct {
        const char* what;
        ReportCalls calls;
        bool written;
    } cases[] = {
        {"write fails", {failedWrite, nullptr, nullptr, nullptr}, false},
        {"write writes nothing", {nothingWritten, nullptr, nullptr, nullptr}, false},
        {"write fails part way", {oneByteThenFailed, nullptr, nullptr, nullptr}, false},
        {"sync fails", {nullptr, failedSync, nullptr, nullptr}, false},
        {"close fails", {nullptr, nullptr, closedButFailed, nullptr}, false},
        {"rename fails", {nullptr, nullptr, nullptr, failedRename}, false},
        {"short writes", {oneByteAtATime, nullptr, nullptr, nullptr}, true},
    };
    for (const auto& c : cases) {
        ScopedTempDirectory dir;
        writeFile("gfs.out", "the older report\n");
        const ReportCalls system = systemReportCalls();
        reportCalls() = {c.calls.write ? c.calls.write : system.write,
                         c.calls.sync ? c.calls.sync : system.sync,
                         c.calls.close ? c.calls.close : system.close,
                         c.calls.rename ? c.calls.rename : system.rename};
        std::ostringstream messages;
        bool written = false;
        {
            ReportFile report(reportFileName("gfs.txt"));
            // No line end: Windows writes reports in text mode, which would add a CR.
            report.text << "the new report, one line and no end";
            written = finishReport(report, messages);
        }
        reportCalls() = system;
        EXPECT_EQ(written, c.written) << c.what;
        EXPECT_EQ(readFile("gfs.out"),
                  c.written ? "the new report, one line and no end" : "the older report\n")
            << c.what;
        EXPECT_EQ(messages.str(),
                  c.written ? "" : "The report file gfs.out could not be written.\n")
            << c.what;
        EXPECT_EQ(entriesIn("."), 1) << c.what;
    }
}

// A full disk, a read-only file system: the message gives the system's reason, from the
// call that failed, whatever was done after it to clear up.
TEST(ReportFile, AFailedCallGivesTheSystemsReason) {
    const struct {
        const char* what;
        ReportCalls calls;
        const char* told;
    } cases[] = {
        {"disk full", {diskFull, nullptr, nullptr, nullptr}, " (no space left on device)"},
        {"disk full part way",
         {diskFullAfterOneByte, nullptr, nullptr, nullptr},
         " (no space left on device)"},
        {"close denied", {nullptr, nullptr, deniedClose, nullptr}, " (permission denied)"},
        {"read-only file system",
         {nullptr, nullptr, nullptr, readOnlyRename},
         " (read-only file system)"},
    };
    for (const auto& c : cases) {
        ScopedTempDirectory dir;
        writeFile("gfs.out", "the older report\n");
        const ReportCalls system = systemReportCalls();
        reportCalls() = {c.calls.write ? c.calls.write : system.write, system.sync,
                         c.calls.close ? c.calls.close : system.close,
                         c.calls.rename ? c.calls.rename : system.rename};
        std::ostringstream messages;
        std::string reason;
        {
            ReportFile report(reportFileName("gfs.txt"));
            report.text << "the new report";
            finishReport(report, messages);
            reason = writeFailureReason(report);
        }
        reportCalls() = system;
        EXPECT_EQ(reason, c.told) << c.what;
        EXPECT_EQ(messages.str(),
                  "The report file gfs.out could not be written" + std::string(c.told) + ".\n")
            << c.what;
        EXPECT_EQ(readFile("gfs.out"), "the older report\n") << c.what;
    }
}
