#pragma once

#include <ostream>
#include <sstream>
#include <string>

/// A report (or any file written whole or not at all) being written. It owns its temporary
/// file from creation to the rename into place or the removal: the temporary is created
/// new (never opened by name again), the lines gather in `text`, and commitReport writes
/// them through that same descriptor. A report never finished is removed with the object,
/// the older file kept.
struct ReportFile {
    /// Begins the file `reportName` (for a run, reportFileName of its data file); the older
    /// file stays as it is. Never opens a folder, a pipe or a device standing at the name.
    explicit ReportFile(const std::string& reportName);
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    std::ostringstream text;  // what the run writes
    std::string reportName;
    std::string temporaryName;
    int descriptor = -1;       // open on the temporary file until the report is finished
    bool nameRefused = false;  // something other than a plain file stands at the name
    bool nameSwapped = false;  // after the rename the name held another file than written
    int failure = 0;           // the system's error number of the call that failed; 0 for none
};

/// Why the file could not be written, as the system words it, to follow its name in a
/// message: " (permission denied)", " (no space left on device)"; empty when the system
/// gave no reason.
std::string writeFailureReason(const ReportFile& report);

/// Writes the report's text through its descriptor, checking every write and the close,
/// and puts it in place of the older file (replacing a link, not following it); otherwise
/// removes the temporary file and keeps the older one, noting in `failure` why. Says
/// nothing; returns whether the file was written.
bool commitReport(ReportFile& report);

/// When commitReport could not write `report` (`written` false), says so once on
/// `messages`, naming the report file.
void tellReportNotWritten(const ReportFile& report, bool written, std::ostream& messages);

/// commitReport, then tellReportNotWritten. Returns whether the report was written.
bool finishReport(ReportFile& report, std::ostream& messages);

/// How a run ended: its report written; no report, the reason told (a file refused, a row
/// missing); or the report made but lost on the way to its file.
enum class RunOutcome { reportWritten, noReport, reportLost };
