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

/// Creates the named file, if it is missing, with the permission bits 0664 (less the
/// umask); an existing file is left as it is. Failure is left for the caller's own open.
void createFileWithReportPermissions(const std::string& name);
