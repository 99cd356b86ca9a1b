#include "shell/platform.h"

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

namespace {

// The longest temporary report name the interrupt handler can hold.
constexpr std::size_t maxTemporaryNameLength = 4200;

// Beside the report, so the rename that puts it in place stays on one file system.
std::string temporaryNameFor(const std::string& reportName, long processId, int attempt) {
    return reportName + "." + std::to_string(processId) + "-" + std::to_string(attempt) + ".tmp";
}

}  // namespace

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <filesystem>
#include <system_error>

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

namespace {

// The temporary report being written, for the interrupt handler to remove: a fixed
// buffer, since a handler may not allocate.
char pendingTemporary[maxTemporaryNameLength + 1];
volatile std::sig_atomic_t temporaryPending = 0;

extern "C" void removeTemporaryAndStop(int signalNumber) {
    if (temporaryPending != 0) {
        _unlink(pendingTemporary);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

using SignalHandler = void (*)(int);
SignalHandler previousIntHandler = SIG_DFL;
SignalHandler previousTermHandler = SIG_DFL;

void endPendingTemporary() {
    temporaryPending = 0;
    std::signal(SIGINT, previousIntHandler);
    std::signal(SIGTERM, previousTermHandler);
}

}  // namespace

bool isSpecialFile(const std::string& name) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(name, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
           !std::filesystem::is_symlink(status);
}

std::string createReportTemporary(const std::string& reportName) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = temporaryNameFor(reportName, _getpid(), attempt);
        if (temporary.size() > maxTemporaryNameLength) {
            return {};
        }
        const int fd = _open(temporary.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                             _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            _close(fd);
            std::memcpy(pendingTemporary, temporary.c_str(), temporary.size() + 1);
            temporaryPending = 1;
            previousIntHandler = std::signal(SIGINT, removeTemporaryAndStop);
            previousTermHandler = std::signal(SIGTERM, removeTemporaryAndStop);
            return temporary;
        }
        if (errno != EEXIST) {
            return {};
        }
    }
    return {};
}

bool replaceReportWithTemporary(const std::string& temporaryName, const std::string& reportName) {
    // Unlike rename(), MoveFileEx replaces an existing report.
    const bool replaced =
        MoveFileExA(temporaryName.c_str(), reportName.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!replaced) {
        _unlink(temporaryName.c_str());
    }
    endPendingTemporary();
    return replaced;
}

void discardReportTemporary(const std::string& temporaryName) {
    _unlink(temporaryName.c_str());
    endPendingTemporary();
}

#else

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The terminal settings to restore if the forecaster interrupts a pause: Ctrl-C must
// never leave the terminal without echo.
termios savedTerminal;

extern "C" void restoreTerminalAndStop(int signalNumber) {
    tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

}  // namespace

bool standardInputIsConsole() {
    return isatty(STDIN_FILENO) != 0;
}

bool standardOutputIsConsole() {
    return isatty(STDOUT_FILENO) != 0;
}

void clearConsole() {
    if (!standardOutputIsConsole()) {
        return;
    }
    std::cout << "\033[H\033[2J" << std::flush;
}

void pauseConsole() {
    if (!standardInputIsConsole()) {
        return;
    }
    std::cout << "Press any key to continue . . . " << std::flush;
    if (tcgetattr(STDIN_FILENO, &savedTerminal) == 0) {
        termios oneKey = savedTerminal;
        oneKey.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        oneKey.c_cc[VMIN] = 1;
        oneKey.c_cc[VTIME] = 0;

        struct sigaction restoring {};
        restoring.sa_handler = restoreTerminalAndStop;
        sigemptyset(&restoring.sa_mask);
        struct sigaction previousInt {};
        struct sigaction previousTerm {};
        sigaction(SIGINT, &restoring, &previousInt);
        sigaction(SIGTERM, &restoring, &previousTerm);

        tcsetattr(STDIN_FILENO, TCSANOW, &oneKey);
        char key = 0;
        while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
        }
        tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);

        sigaction(SIGINT, &previousInt, nullptr);
        sigaction(SIGTERM, &previousTerm, nullptr);
    }
    std::cout << std::endl;
}

namespace {

// The temporary report being written, for the interrupt handler to remove: a fixed
// buffer, since a handler may not allocate.
char pendingTemporary[maxTemporaryNameLength + 1];
volatile std::sig_atomic_t temporaryPending = 0;

// The signals that stop the program and must not leave a temporary report behind.
constexpr int stoppingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
struct sigaction previousHandlers[std::size(stoppingSignals)];
struct sigaction previousFileSizeHandler;

extern "C" void removeTemporaryAndStop(int signalNumber) {
    if (temporaryPending != 0) {
        unlink(pendingTemporary);
    }
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

// Holds the stopping signals back while the temporary file and the record of it change
// together, so a signal never finds the one without the other.
sigset_t blockStoppingSignals() {
    sigset_t stopping;
    sigemptyset(&stopping);
    for (const int signalNumber : stoppingSignals) {
        sigaddset(&stopping, signalNumber);
    }
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &stopping, &previous);
    return previous;
}

void unblockSignals(const sigset_t& previous) {
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

void beginPendingTemporary(const std::string& temporary) {
    std::memcpy(pendingTemporary, temporary.c_str(), temporary.size() + 1);
    temporaryPending = 1;
    struct sigaction removing {};
    removing.sa_handler = removeTemporaryAndStop;
    sigemptyset(&removing.sa_mask);
    for (std::size_t i = 0; i < std::size(stoppingSignals); ++i) {
        sigaction(stoppingSignals[i], nullptr, &previousHandlers[i]);
        // A signal the program was started to ignore (nohup) stays ignored.
        if (previousHandlers[i].sa_handler != SIG_IGN) {
            sigaction(stoppingSignals[i], &removing, nullptr);
        }
    }
    // Past the file size limit a write then fails, and the run tells it, instead of the
    // program being stopped with the temporary file left behind.
    struct sigaction ignoring {};
    ignoring.sa_handler = SIG_IGN;
    sigemptyset(&ignoring.sa_mask);
    sigaction(SIGXFSZ, &ignoring, &previousFileSizeHandler);
}

void endPendingTemporary() {
    temporaryPending = 0;
    for (std::size_t i = 0; i < std::size(stoppingSignals); ++i) {
        sigaction(stoppingSignals[i], &previousHandlers[i], nullptr);
    }
    sigaction(SIGXFSZ, &previousFileSizeHandler, nullptr);
}

}  // namespace

bool isSpecialFile(const std::string& name) {
    struct stat info {};
    return lstat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode);
}

std::string createReportTemporary(const std::string& reportName) {
    struct stat existing {};
    const bool replacing = lstat(reportName.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    // A report the forecaster may not change (read-only) stays as it is.
    if (replacing && access(reportName.c_str(), W_OK) != 0) {
        return {};
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = temporaryNameFor(reportName, getpid(), attempt);
        if (temporary.size() > maxTemporaryNameLength) {
            return {};
        }
        const sigset_t previousMask = blockStoppingSignals();
        // O_EXCL: never a file or a link someone else put there.
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0664);
        const int openError = errno;
        if (fd >= 0) {
            beginPendingTemporary(temporary);
        }
        unblockSignals(previousMask);
        if (fd >= 0) {
            if (replacing) {
                fchmod(fd, existing.st_mode & 0777);
            }
            close(fd);
            return temporary;
        }
        if (openError != EEXIST) {
            return {};
        }
    }
    return {};
}

bool replaceReportWithTemporary(const std::string& temporaryName, const std::string& reportName) {
    const sigset_t previousMask = blockStoppingSignals();
    const bool replaced = rename(temporaryName.c_str(), reportName.c_str()) == 0;
    if (!replaced) {
        unlink(temporaryName.c_str());
    }
    endPendingTemporary();
    unblockSignals(previousMask);
    return replaced;
}

void discardReportTemporary(const std::string& temporaryName) {
    const sigset_t previousMask = blockStoppingSignals();
    unlink(temporaryName.c_str());
    endPendingTemporary();
    unblockSignals(previousMask);
}

#endif
