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

/// Makes a write to a closed pipe fail (EPIPE) instead of ending the program, so a reader
/// that left early (`| head`) never costs a report: the failed write is told instead.
void ignoreBrokenPipe();

// Data files.

/// What stands at a name a data file is opened by.
enum class DataFileKind { plain, notPlain, missing, unreadable };

/// Opens `name` for reading without ever waiting (a pipe swapped in answers at once) and
/// keeps it open only when that descriptor is a plain file. Returns the descriptor, or -1
/// with `kind` telling whether something that is no plain file, a plain file this user
/// may not read, or nothing stands there.
int openPlainFile(const std::string& name, DataFileKind& kind);

/// Reads up to `size` bytes from `offset` bytes into the open file, whatever any other
/// reader of the same descriptor did before. Returns how many bytes came; 0 at the end of
/// the file or on an error.
std::size_t readFileAt(int descriptor, char* into, std::size_t size, std::uint64_t offset);

/// Whether standard input can be read to an end: `plain` for a file, a pipe, a socket or
/// a console; `notPlain` for a folder or a device that never ends (such as /dev/zero).
DataFileKind standardInputKind();

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

/// True when two names in one folder name one file: byte for byte here, and on Windows
/// also when they differ only in the case of letters.
bool fileNamesEqual(const std::string& first, const std::string& second);

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

/// The system calls that put a report in place, one entry each, as a fault-injecting file
/// system swaps them: tests replace an entry to make the call fail, or to meddle first.
/// Each returns what the call gave: bytes written or a negative number; success.
struct ReportCalls {
    long (*write)(int descriptor, const char* data, std::size_t size);
    bool (*sync)(int descriptor);
    bool (*close)(int descriptor);
    bool (*rename)(const char* from, const char* to);
};

/// The calls the report writer makes: the system's own unless a test replaced them.
ReportCalls& reportCalls();

/// The system's own report calls, for a test to put back or to call through to.
ReportCalls systemReportCalls();

/// Which file a descriptor held: device and file number, and (where the platform needs it)
/// a second descriptor that keeps the file, and so its number, from going to another file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    int keeper = -1;
};

/// What to write for the CR LF that ends a line of a file that must have it (a CSV file),
/// given that report files are written in the platform's text mode.
const char* crLfLineEnd();

/// Writes some of the `size` bytes through `descriptor`: how many, or a negative number
/// when the write failed.
long writeSome(int descriptor, const char* data, std::size_t size);

/// Makes the written bytes durable and closes `descriptor`, noting in `written` which file
/// it had open; false when the sync or the close fails. On true, `written` must go to
/// replaceReportWithTemporary, which lets go of it.
bool syncAndClose(int descriptor, FileIdentity& written);

/// How putting a report in place ended.
enum class ReportPlaced { yes, failed, otherFile };

/// Renames the finished temporary file over `reportName`, replacing whatever file or
/// link stands there (a link is never followed). `failed`, with the temporary file
/// removed and the older report left as it was, when that cannot be done; `otherFile`
/// when, after the rename, the name holds another file than `written` (the temporary was
/// swapped meanwhile).
ReportPlaced replaceReportWithTemporary(const std::string& temporaryName,
                                        const std::string& reportName, const FileIdentity& written);

/// True when a plain file (no link, no pipe) stands at `name` whose text is exactly `text`,
/// read back as it was written (in text mode where reports are written so).
bool fileHoldsExactly(const std::string& name, const std::string& text);

/// Removes the temporary file of a report that could not be written.
void discardReportTemporary(const std::string& temporaryName);
