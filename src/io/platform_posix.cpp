#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <iterator>
#include <vector>

#include "io/platform.h"

namespace {

// The terminal settings to restore if the forecaster interrupts a pause: Ctrl-C must
// never leave the terminal without echo.
termios savedTerminal;

extern "C" void restoreTerminalAndStop(int signalNumber) {
    tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
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

void ignoreBrokenPipe() {
    signal(SIGPIPE, SIG_IGN);
}

int openPlainFile(const std::string& name, DataFileKind& kind) {
    // O_NONBLOCK: opening a pipe for reading would otherwise wait for a writer.
    const int descriptor = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (descriptor < 0) {
        // A socket, say, cannot be opened but is still no plain file.
        const int openError = errno;
        if (stat(name.c_str(), &info) != 0) {
            // A folder on the way that may not be searched hides whether the file is there.
            kind = errno == EACCES ? DataFileKind::unreadable : DataFileKind::missing;
        } else if (!S_ISREG(info.st_mode)) {
            kind = DataFileKind::notPlain;
        } else {
            kind = openError == EACCES || openError == EPERM ? DataFileKind::unreadable
                                                             : DataFileKind::missing;
        }
        return -1;
    }
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(descriptor);
        kind = DataFileKind::notPlain;
        return -1;
    }
    kind = DataFileKind::plain;
    return descriptor;
}

std::size_t readFileAt(int descriptor, char* into, std::size_t size, std::uint64_t offset) {
    for (;;) {
        const ssize_t got = pread(descriptor, into, size, static_cast<off_t>(offset));
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            return 0;
        }
    }
}

DataFileKind standardInputKind() {
    struct stat info {};
    if (fstat(STDIN_FILENO, &info) != 0) {
        return DataFileKind::missing;
    }
    const bool device = S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode);
    return S_ISDIR(info.st_mode) || (device && isatty(STDIN_FILENO) == 0) ? DataFileKind::notPlain
                                                                          : DataFileKind::plain;
}

void closeFile(int descriptor) {
    close(descriptor);
}

bool isSameFile(int descriptor, const std::string& /*name*/, const std::string& other) {
    struct stat open {};
    struct stat named {};
    return fstat(descriptor, &open) == 0 && stat(other.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

namespace {

// The longest temporary report name the signal handler can hold.
constexpr std::size_t maxTemporaryNameLength = 4200;

// How many files may be in writing at once: extract writes two, each whole or not at all.
constexpr std::size_t maxPendingTemporaries = 8;

// The temporary files being written, for the signal handler to remove: fixed buffers,
// since a handler may not allocate. A slot's name is whole before it is marked in use and
// unmarked before it changes. The one state a signal handler needs; nothing else reads it.
char pendingTemporaries[maxPendingTemporaries][maxTemporaryNameLength + 1];
volatile std::sig_atomic_t slotInUse[maxPendingTemporaries];
std::size_t pendingCount = 0;  // changed only with every signal held back

// Every signal whose default action ends the program: none may leave a temporary report
// behind. (SIGKILL cannot be caught; SIGXFSZ is ignored while a report is written.)
constexpr int fixedEndingSignals[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,  SIGUSR1,
    SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGVTALRM, SIGPROF, SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};

std::vector<int> endingSignals() {
    std::vector<int> signals(std::begin(fixedEndingSignals), std::end(fixedEndingSignals));
#ifdef SIGRTMIN
    // The real-time signals end the program too by default.
    for (int signalNumber = SIGRTMIN; signalNumber <= SIGRTMAX; ++signalNumber) {
        signals.push_back(signalNumber);
    }
#endif
    return signals;
}

struct SavedHandler {
    int signalNumber;
    struct sigaction previous;
};
// Filled while a temporary is pending: the handlers to put back afterwards.
std::vector<SavedHandler> savedHandlers;
struct sigaction previousFileSizeHandler;

extern "C" void removeTemporaryAndStop(int signalNumber) {
    for (std::size_t slot = 0; slot < maxPendingTemporaries; ++slot) {
        if (slotInUse[slot] != 0) {
            unlink(pendingTemporaries[slot]);
        }
    }
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

// Holds every signal back while the temporary file and the record of it change together,
// so a signal never finds the one without the other.
sigset_t blockSignals() {
    sigset_t all;
    sigfillset(&all);
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &all, &previous);
    return previous;
}

void unblockSignals(const sigset_t& previous) {
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

// A free slot for one more temporary, or maxPendingTemporaries when every one is taken.
std::size_t freeSlot() {
    for (std::size_t slot = 0; slot < maxPendingTemporaries; ++slot) {
        if (slotInUse[slot] == 0) {
            return slot;
        }
    }
    return maxPendingTemporaries;
}

// Notes `temporary` in `slot`; the first pending temporary puts the handlers in place.
void beginPendingTemporary(std::size_t slot, const std::string& temporary) {
    std::memcpy(pendingTemporaries[slot], temporary.c_str(), temporary.size() + 1);
    slotInUse[slot] = 1;
    if (pendingCount++ > 0) {
        return;
    }
    struct sigaction removing {};
    removing.sa_handler = removeTemporaryAndStop;
    sigemptyset(&removing.sa_mask);
    savedHandlers.clear();
    for (const int signalNumber : endingSignals()) {
        SavedHandler saved{signalNumber, {}};
        if (sigaction(signalNumber, nullptr, &saved.previous) != 0) {
            continue;
        }
        // Only a signal left to its default action would end the program: one the program
        // was started to ignore (nohup) stays ignored, one with a handler (a fuzzer's
        // timer, a sanitizer's) keeps its handler.
        if ((saved.previous.sa_flags & SA_SIGINFO) == 0 && saved.previous.sa_handler == SIG_DFL) {
            sigaction(signalNumber, &removing, nullptr);
            savedHandlers.push_back(saved);
        }
    }
    // Past the file size limit a write then fails, and the run tells it, instead of the
    // program being stopped with the temporary file left behind.
    struct sigaction ignoring {};
    ignoring.sa_handler = SIG_IGN;
    sigemptyset(&ignoring.sa_mask);
    sigaction(SIGXFSZ, &ignoring, &previousFileSizeHandler);
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
    for (const SavedHandler& saved : savedHandlers) {
        sigaction(saved.signalNumber, &saved.previous, nullptr);
    }
    savedHandlers.clear();
    sigaction(SIGXFSZ, &previousFileSizeHandler, nullptr);
}

}  // namespace

bool isSpecialFile(const std::string& name) {
    struct stat info {};
    return lstat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode);
}

bool mayReplaceReport(const std::string& reportName) {
    struct stat existing {};
    return lstat(reportName.c_str(), &existing) != 0 || !S_ISREG(existing.st_mode) ||
           access(reportName.c_str(), W_OK) == 0;
}

bool isFolderSeparator(char c) {
    return c == '/';
}

bool fileNamesEqual(const std::string& first, const std::string& second) {
    return first == second;
}

std::size_t longestNameIn(const std::string& folder) {
    const long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

const char* crLfLineEnd() {
    return "\r\n";
}

long processNumber() {
    return static_cast<long>(getpid());
}

int createReportTemporary(const std::string& temporaryName, const std::string& reportName,
                          bool& nameTaken) {
    nameTaken = false;
    if (temporaryName.size() > maxTemporaryNameLength) {
        return -1;
    }
    struct stat existing {};
    const bool replacing = lstat(reportName.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    const sigset_t previousMask = blockSignals();
    // A file the handler could not remove is never begun.
    const std::size_t slot = freeSlot();
    int descriptor = -1;
    if (slot < maxPendingTemporaries) {
        // O_EXCL: never a file or a link someone else put there; O_NOFOLLOW says so twice.
        descriptor =
            open(temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0664);
        nameTaken = descriptor < 0 && errno == EEXIST;
    }
    if (descriptor >= 0) {
        beginPendingTemporary(slot, temporaryName);
    }
    unblockSignals(previousMask);
    if (descriptor >= 0 && replacing) {
        fchmod(descriptor, existing.st_mode & 0777);
    }
    return descriptor;
}

namespace {

long systemWrite(int descriptor, const char* data, std::size_t size) {
    for (;;) {
        const ssize_t written = write(descriptor, data, size);
        if (written >= 0 || errno != EINTR) {
            return static_cast<long>(written);
        }
    }
}

// A file system that cannot sync (EINVAL) has nothing more to give.
bool systemSync(int descriptor) {
    return fsync(descriptor) == 0 || errno == EINVAL;
}

bool systemClose(int descriptor) {
    return close(descriptor) == 0;
}

bool systemRename(const char* from, const char* to) {
    return rename(from, to) == 0;
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
    struct stat info {};
    written = {};
    if (fstat(descriptor, &info) == 0) {
        written.device = static_cast<std::uint64_t>(info.st_dev);
        written.file = static_cast<std::uint64_t>(info.st_ino);
    }
    // Held open past the rename: a file removed meanwhile cannot hand its number on to
    // one planted in its place.
    written.keeper = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    // The bytes reach the disk before the rename, so that a crash leaves the older report
    // or the whole new one, never an empty file under the report's name.
    const bool synced = reportCalls().sync(descriptor);
    const bool closed = reportCalls().close(descriptor);
    if (!(synced && closed) && written.keeper >= 0) {
        close(written.keeper);
        written.keeper = -1;
    }
    return synced && closed;
}

ReportPlaced replaceReportWithTemporary(const std::string& temporaryName,
                                        const std::string& reportName,
                                        const FileIdentity& written) {
    const sigset_t previousMask = blockSignals();
    const bool renamed = reportCalls().rename(temporaryName.c_str(), reportName.c_str());
    // Why the rename failed outlives the clearing up after it.
    const int renameError = errno;
    if (!renamed) {
        unlink(temporaryName.c_str());
    }
    endPendingTemporary(temporaryName);
    unblockSignals(previousMask);
    if (!renamed) {
        if (written.keeper >= 0) {
            close(written.keeper);
        }
        errno = renameError;
        return ReportPlaced::failed;
    }
    // Someone who could swap the temporary for a link or another file just before the
    // rename had that renamed into place instead; the name must hold what was written.
    struct stat placed {};
    const bool same = lstat(reportName.c_str(), &placed) == 0 && S_ISREG(placed.st_mode) &&
                      static_cast<std::uint64_t>(placed.st_dev) == written.device &&
                      static_cast<std::uint64_t>(placed.st_ino) == written.file;
    if (written.keeper >= 0) {
        close(written.keeper);
    }
    return same ? ReportPlaced::yes : ReportPlaced::otherFile;
}

bool fileHoldsExactly(const std::string& name, const std::string& text) {
    // Never a link followed, never a pipe waited on.
    const int descriptor = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    struct stat info {};
    bool same = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) &&
                static_cast<std::uint64_t>(info.st_size) == text.size();
    char block[65536];
    std::size_t done = 0;
    while (same && done < text.size()) {
        const std::size_t got =
            readFileAt(descriptor, block, std::min(sizeof block, text.size() - done), done);
        same = got > 0 && std::memcmp(block, text.data() + done, got) == 0;
        done += got;
    }
    close(descriptor);
    return same;
}

void discardReportTemporary(const std::string& temporaryName) {
    const sigset_t previousMask = blockSignals();
    unlink(temporaryName.c_str());
    endPendingTemporary(temporaryName);
    unblockSignals(previousMask);
}

HelpNotes platformHelpNotes() {
    return {"A run can be scripted:  printf '2\\ngfs.txt\\n7\\n' | wxguide\n",
            "The manual: man wxguide. Example files: share/doc/wxguide/examples where\n"
            "wxguide is installed (/usr/share/doc/wxguide/examples from the Debian package).\n",
            false};
}
