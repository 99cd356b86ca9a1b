#include "io/report_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "io/data_file.h"
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
        {"no/such/gfs.txt", "The report file no/such/gfs.out could not be written.\n"},
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
    EXPECT_EQ(console.output(), "The report file gfs.out could not be written.\n");
    EXPECT_TRUE(fs::is_directory("gfs.out/older"));
    EXPECT_EQ(entriesIn("."), 1);
}
