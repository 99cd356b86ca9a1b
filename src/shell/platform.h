#pragma once

#include <string>

// The platform layer: the one place that differs between Windows and elsewhere.

/// True when standard input is a console (a terminal) that a forecaster types at,
/// false when it is redirected from a file or a pipe.
bool standardInputIsConsole();

/// True when standard output is a console (a terminal), false when it is redirected.
bool standardOutputIsConsole();

/// Clears the console between runs. Off a terminal (a script, a redirected
/// transcript) it writes nothing, so a transcript holds only the program's lines.
void clearConsole();

/// Shows a press-a-key prompt and waits for one key. When standard input is not a
/// terminal it writes nothing and consumes no input.
void pauseConsole();

/// True when a folder, a pipe, a device or a socket stands at `name` (a link is not
/// followed): opening such a name for writing may hang or reach no file.
bool isSpecialFile(const std::string& name);

/// Creates a new, empty temporary file beside the report `reportName` and returns its
/// name; empty when none could be created or the existing report may not be changed.
/// It gets the existing report's permission bits, or 0664 less the umask for a new
/// report. Until it is replaced or discarded, a stopping signal (Ctrl-C, SIGTERM, a hang-up,
/// a broken pipe) removes it before the program stops, and a write past the file size limit
/// fails instead of stopping the program.
std::string createReportTemporary(const std::string& reportName);

/// Renames the finished temporary file over `reportName`, replacing whatever file or
/// link stands there (a link is never followed). Returns false, with the temporary file
/// removed and the older report left as it was, when that cannot be done.
bool replaceReportWithTemporary(const std::string& temporaryName, const std::string& reportName);

/// Removes the temporary file of a report that could not be written.
void discardReportTemporary(const std::string& temporaryName);
