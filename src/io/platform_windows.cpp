#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "io/platform.h"

// cmd hands a program its arguments as typed: the C runtime expands `*` and `?` in them
// (..\guidance\*), as a POSIX shell would, when the program asks for it.
extern "C" {
int _dowildcard = -1;
}

namespace {

// A redirected handle (a file, a pipe, NUL) has no console mode.
bool isConsole(DWORD standardHandle) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

}  // namespace

bool standardInputIsConsole() {
    return isConsole(STD_INPUT_HANDLE);
}

bool standardOutputIsConsole() {
    return isConsole(STD_OUTPUT_HANDLE);
}

void clearConsole() {
    if (!standardOutputIsConsole()) {
        return;
    }
    std::cout.flush();
    std::system("CLS");
}

// PAUSE reads its key from standard input: on a redirected input it would eat the
// script's next line, and the prompt would land in the transcript.
void pauseConsole() {
    if (!standardInputIsConsole()) {
        return;
    }
    std::cout.flush();
    std::system("PAUSE");
}

// Windows has no SIGPIPE: a write to a closed pipe already fails.
void ignoreBrokenPipe() {}

int openPlainFile(const std::string& name, DataFileKind& kind) {
    // Binary: the reading layer takes CR as blank space, and offsets must be file offsets.
    const int descriptor = _open(name.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    std::error_code error;
    if (descriptor < 0) {
        const std::filesystem::file_status status = std::filesystem::status(name, error);
        const bool exists = !error && std::filesystem::exists(status);
        kind = !exists                                    ? DataFileKind::missing
               : std::filesystem::is_regular_file(status) ? DataFileKind::unreadable
                                                          : DataFileKind::notPlain;
        return -1;
    }
    struct _stat64 info {};
    if (_fstat64(descriptor, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
        _close(descriptor);
        kind = DataFileKind::notPlain;
        return -1;
    }
    kind = DataFileKind::plain;
    return descriptor;
}

std::size_t readFileAt(int descriptor, char* into, std::size_t size, std::uint64_t offset) {
    // Every reader of the descriptor says where it reads, so the shared position is moved
    // before each read.
    if (_lseeki64(descriptor, static_cast<__int64>(offset), SEEK_SET) < 0) {
        return 0;
    }
    const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(size, 1U << 30));
    const int got = _read(descriptor, into, chunk);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

DataFileKind standardInputKind() {
    // A console, NUL, a pipe and a file all come to an end here.
    return DataFileKind::plain;
}

void closeFile(int descriptor) {
    _close(descriptor);
}

bool isSameFile(int /*descriptor*/, const std::string& name, const std::string& other) {
    std::error_code error;
    return std::filesystem::equivalent(name, other, error);
}

namespace {

// The longest temporary report name the signal handler can hold.
constexpr std::size_t maxTemporaryNameLength = 4200;

// How many files may be in writing at once: extract writes two, each whole or not at all.
constexpr std::size_t maxPendingTemporaries = 8;

// The temporary files being written, for the signal handler to remove: fixed buffers,
// since a handler may not allocate. A slot's name is whole before it is marked in use.
char pendingTemporaries[maxPendingTemporaries][maxTemporaryNameLength + 1];
volatile std::sig_atomic_t slotInUse[maxPendingTemporaries];
std::size_t pendingCount = 0;

// The signals that end a Windows program.
constexpr int endingSignals[] = {SIGINT, SIGTERM, SIGBREAK, SIGABRT};

using SignalHandler = void (*)(int);
SignalHandler previousHandlers[std::size(endingSignals)];

extern "C" void removeTemporaryAndStop(int signalNumber) {
    for (std::size_t slot = 0; slot < maxPendingTemporaries; ++slot) {
        if (slotInUse[slot] != 0) {
            _unlink(pendingTemporaries[slot]);
        }
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// Forgets `temporary`; the last one pending puts back the handlers found before.
void endPendingTemporary(const std::string& temporary) {
    bool found = false;
    for (std::size_t slot = 0; slot < maxPendingTemporaries; ++slot) {
        if (slotInUse[slot] != 0 && temporary == pendingTemporaries[slot]) {
            slotInUse[slot] = 0;
            found = true;
            break;
        }
    }
    if (!found || --pendingCount > 0) {
        return;
    }
    for (std::size_t i = 0; i < std::size(endingSignals); ++i) {
        std::signal(endingSignals[i], previousHandlers[i]);
    }
}

}  // namespace

bool isSpecialFile(const std::string& name) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(name, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
           !std::filesystem::is_symlink(status);
}

bool mayReplaceReport(const std::string& /*reportName*/) {
    // A read-only report makes the rename fail, which is told as a report not written.
    return true;
}

bool isFolderSeparator(char c) {
    return c == '/' || c == '\\';
}

bool fileNamesEqual(const std::string& first, const std::string& second) {
    // NTFS compares names without regard to case.
    return first.size() == second.size() &&
           std::equal(first.begin(), first.end(), second.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::size_t longestNameIn(const std::string& /*folder*/) {
    return 255;
}

const char* crLfLineEnd() {
    // Text mode turns the line feed into CR LF.
    return "\n";
}

long processNumber() {
    return static_cast<long>(_getpid());
}

int createReportTemporary(const std::string& temporaryName, const std::string& /*reportName*/,
                          bool& nameTaken) {
    nameTaken = false;
    if (temporaryName.size() > maxTemporaryNameLength) {
        return -1;
    }
    // _O_EXCL is CreateFile's CREATE_NEW: never a file someone else put there. Text mode: a
    // report's lines end in CR LF, as Windows text files do.
    // A file the handler could not remove is never begun.
    std::size_t slot = 0;
    while (slot < maxPendingTemporaries && slotInUse[slot] != 0) {
        ++slot;
    }
    if (slot == maxPendingTemporaries) {
        return -1;
    }
    const int descriptor =
        _open(temporaryName.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_TEXT | _O_NOINHERIT,
              _S_IREAD | _S_IWRITE);
    nameTaken = descriptor < 0 && errno == EEXIST;
    if (descriptor >= 0) {
        std::memcpy(pendingTemporaries[slot], temporaryName.c_str(), temporaryName.size() + 1);
        slotInUse[slot] = 1;
        if (pendingCount++ > 0) {
            return descriptor;
        }
        for (std::size_t i = 0; i < std::size(endingSignals); ++i) {
            previousHandlers[i] = std::signal(endingSignals[i], removeTemporaryAndStop);
        }
    }
    return descriptor;
}

namespace {

long systemWrite(int descriptor, const char* data, std::size_t size) {
    return _write(descriptor, data, static_cast<unsigned>(std::min<std::size_t>(size, 1U << 30)));
}

bool systemSync(int descriptor) {
    return _commit(descriptor) == 0;
}

bool systemClose(int descriptor) {
    return _close(descriptor) == 0;
}

// The C library's number for what MoveFileEx failed with, so that the message gives the
// same reason as elsewhere; 0 for one it has no number for.
int errorNumberOf(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        default:
            return 0;
    }
}

// Unlike rename(), MoveFileEx replaces an existing report.
bool systemRename(const char* from, const char* to) {
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0) {
        return true;
    }
    errno = errorNumberOf(GetLastError());
    return false;
}

// The volume and file index of an open handle; zero when they cannot be told.
FileIdentity identityOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || GetFileInformationByHandle(handle, &info) == 0) {
        return {};
    }
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace

ReportCalls systemReportCalls() {
    return {systemWrite, systemSync, systemClose, systemRename};
}

ReportCalls& reportCalls() {
    static ReportCalls calls = systemReportCalls();
    return calls;
}

long writeSome(int descriptor, const char* data, std::size_t size) {
    return reportCalls().write(descriptor, data, size);
}

bool syncAndClose(int descriptor, FileIdentity& written) {
    written = identityOf(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)));
    // As on POSIX: the bytes are on the disk before the rename puts them in place.
    const bool synced = reportCalls().sync(descriptor);
    const bool closed = reportCalls().close(descriptor);
    return synced && closed;
}

ReportPlaced replaceReportWithTemporary(const std::string& temporaryName,
                                        const std::string& reportName,
                                        const FileIdentity& written) {
    const bool renamed = reportCalls().rename(temporaryName.c_str(), reportName.c_str());
    // Why the rename failed outlives the clearing up after it.
    const int renameError = errno;
    if (!renamed) {
        _unlink(temporaryName.c_str());
    }
    endPendingTemporary(temporaryName);
    if (!renamed) {
        errno = renameError;
        return ReportPlaced::failed;
    }
    // The name must hold what was written, not a file or link swapped in before the move.
    const HANDLE placed = CreateFileA(
        reportName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const FileIdentity found = identityOf(placed);
    if (placed != INVALID_HANDLE_VALUE) {
        CloseHandle(placed);
    }
    return found.device == written.device && found.file == written.file &&
                   placed != INVALID_HANDLE_VALUE
               ? ReportPlaced::yes
               : ReportPlaced::otherFile;
}

bool fileHoldsExactly(const std::string& name, const std::string& text) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(name, error))) {
        return false;
    }
    // Text mode, as the report was written: its CR LF reads back as the LF of the text.
    const int descriptor = _open(name.c_str(), _O_RDONLY | _O_TEXT | _O_NOINHERIT);
    if (descriptor < 0) {
        return false;
    }
    std::string found;
    char block[65536];
    int got = 0;
    while (found.size() <= text.size() && (got = _read(descriptor, block, sizeof block)) > 0) {
        found.append(block, static_cast<std::size_t>(got));
    }
    _close(descriptor);
    return got >= 0 && found == text;
}

void discardReportTemporary(const std::string& temporaryName) {
    _unlink(temporaryName.c_str());
    endPendingTemporary(temporaryName);
}

// Windows has no manual page and no printf; its download holds the examples.
HelpNotes platformHelpNotes() {
    return {"A run can be scripted:  wxguide < answers.txt\n",
            "More: README.txt beside wxguide.exe. Example files: the examples folder there.\n",
            true};
}
