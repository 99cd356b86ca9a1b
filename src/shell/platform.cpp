#include "shell/platform.h"

#include <cstdlib>
#include <iostream>

#ifdef _WIN32

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

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

void createFileWithReportPermissions(const std::string&) {
    // Windows files carry no permission bits; the report open creates the file.
}

#else

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

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

void createFileWithReportPermissions(const std::string& name) {
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT, 0664);
    if (fd >= 0) {
        close(fd);
    }
}

#endif
