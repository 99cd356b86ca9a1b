#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fetch/run_time.h"

// The page `wxguide today` writes beside the day's reports: one file, index.html, with
// every meteogram inline and no script, nothing fetched from the network.

/// How a step went: what it was, the command it ran, the file it made, and its outcome.
struct TodayStep {
    std::string what;     // "GFS profile KDSM 2026120812"
    std::string command;  // the command line that does the same by hand; empty for none
    std::string file;     // the file made (a report, a data file)
    bool done = false;
    std::string why;                // a failure's reason: the command's last message
    std::vector<std::string> told;  // the lines the command said (sources, notes)
};

/// A report of the day: its option, its name on the page, the name of its files without
/// their ending ("day/gfs-long"), whether it was written, and the step that ran it.
struct TodayReport {
    int option = 0;
    std::string what;
    std::string stem;
    bool written = false;
    std::size_t step = 0;
};

/// What the page shows.
struct TodayPage {
    RunTime at;
    std::string folder;
    std::string station;
    std::vector<std::string> stations;
    std::string ratio;
    std::vector<TodayStep> steps;
    std::vector<TodayReport> reports;
    std::vector<std::string> dailyTable;  // option 1's, as `run` writes it
};

/// `text` with &, <, >, " and ' written as HTML's character references.
std::string htmlEscaped(std::string_view text);

/// Option 1's daily table cut into cells at its heading's columns (a value is written
/// under the start of its heading; a missing value leaves its cell blank). Blank lines
/// are left out; the heading is the first row.
std::vector<std::vector<std::string>> dailyTableCells(const std::vector<std::string>& lines);

/// The picture `svgText` as the page holds it: from its <svg> on, each id given the
/// prefix `idPrefix` so that the page's pictures share none. Empty for a picture the page
/// must not hold (one with a script or foreign content).
std::string inlinePicture(const std::string& svgText, const std::string& idPrefix);

/// The page's text; the pictures and the files linked are looked for beside the reports.
std::string todayPageText(const TodayPage& page);

/// Writes the page to `name`, whole or not at all; false with the fault in `fault`.
bool writeTodayPage(const TodayPage& page, const std::string& name, std::string& fault);
