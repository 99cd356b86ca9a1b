#pragma once

#include <sstream>
#include <string>

/// A report being written. It owns its temporary file from creation to the rename into
/// place or the removal: the temporary is created new (never opened by name again), the
/// report's lines gather in `text`, and finishReport writes them through that same
/// descriptor. A report never finished is removed with the object, the older one kept.
struct ReportFile {
    /// Begins the report of the data file `dataName`; the older report stays as it is.
    /// Never opens a folder, a pipe or a device standing at the report's name.
    explicit ReportFile(const std::string& dataName);
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    std::ostringstream text;  // what the run writes
    std::string reportName;
    std::string temporaryName;
    int descriptor = -1;       // open on the temporary file until the report is finished
    bool nameRefused = false;  // something other than a plain file stands at the name
};

/// Writes the report's text through its descriptor, checking every write and the close,
/// and puts it in place of the older report (replacing a link, not following it).
/// Otherwise removes the temporary file, keeps the older report and says so once on the
/// console, naming the report file. Returns whether the report was written.
bool finishReport(ReportFile& report);
