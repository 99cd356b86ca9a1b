#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The platform layer: the one place that differs between Windows and elsewhere. Each
// platform has its own file (platform_posix.cpp, platform_windows.cpp); the build picks one.

// The help text.

/// What the help says differently on each platform: how to script a menu run, where to read
/// more, and whether "/?" asks for help, as it does on Windows.
struct HelpNotes {
    const char* scriptedMenuRun;
    const char* whereToReadMore;
    bool acceptsSlashQuestion;
};
HelpNotes platformHelpNotes();

// The console.

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

// Data files.

/// What stands at a name a data file is opened by.
enum class DataFileKind { plain, notPlain, missing };

/// Opens `name` for reading without ever waiting (a pipe swapped in answers at once) and
/// keeps it open only when that descriptor is a plain file. Returns the descriptor, or -1
/// with `kind` telling whether something that is no plain file, or nothing readable,
/// stands there.
int openPlainFile(const std::string& name, DataFileKind& kind);

/// Reads up to `size` bytes from `offset` bytes into the open file, whatever any other
/// reader of the same descriptor did before. Returns how many bytes came; 0 at the end of
/// the file or on an error.
std::size_t readFileAt(int descriptor, char* into, std::size_t size, std::uint64_t offset);

/// Closes a descriptor opened here.
void closeFile(int descriptor);

/// True when `other` names the very file open on `descriptor` (itself named `name`).
bool isSameFile(int descriptor, const std::string& name, const std::string& other);

// Report files.

/// True when a folder, a pipe, a device or a socket stands at `name` (a link is not
/// followed): opening such a name for writing may hang or reach no file.
bool isSpecialFile(const std::string& name);

/// False when a report stands at `reportName` that the forecaster may not change
/// (read-only, or another user's).
bool mayReplaceReport(const std::string& reportName);

/// True when `c` separates folders in a path: '/' everywhere, '\\' on Windows too (elsewhere
/// a backslash is an ordinary character of a name).
bool isFolderSeparator(char c);

/// The longest file name the folder `folder` takes.
std::size_t longestNameIn(const std::string& folder);

/// This program's process number, which keeps its temporary names apart from others'.
long processNumber();

/// Creates the new, empty file `temporaryName` for the report `reportName`, never opening
/// one that exists (a file or a link planted there), and returns its descriptor, open for
/// writing; -1 when it cannot be made, with `nameTaken` set when something stands at that
/// name. It gets the existing report's permission bits, or 0664 less the umask for a new
/// report. Until it is replaced or discarded, any signal that would end the program removes
/// it first, and a write past the file size limit fails instead of stopping the program.
int createReportTemporary(const std::string& temporaryName, const std::string& reportName,
                          bool& nameTaken);

/// What to write for the CR LF that ends a line of a file that must have it (a CSV file),
/// given that report files are written in the platform's text mode.
const char* crLfLineEnd();

/// Writes some of the `size` bytes through `descriptor`: how many, or a negative number
/// when the write failed.
long writeSome(int descriptor, const char* data, std::size_t size);

/// Makes the written bytes durable and closes `descriptor`; false when either fails.
bool syncAndClose(int descriptor);

/// Renames the finished temporary file over `reportName`, replacing whatever file or
/// link stands there (a link is never followed). Returns false, with the temporary file
/// removed and the older report left as it was, when that cannot be done.
bool replaceReportWithTemporary(const std::string& temporaryName, const std::string& reportName);

/// Removes the temporary file of a report that could not be written.
void discardReportTemporary(const std::string& temporaryName);
