#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "io/platform.h"

namespace {

// Standard input and output redirected to the given descriptors for the test's length,
// both the C runtime's and the Win32 handles, as a script's redirection sets them.
struct ScopedRedirection {
    ScopedRedirection(int input, int output) : savedIn(_dup(0)), savedOut(_dup(1)) {
        std::fflush(stdout);
        _dup2(input, 0);
        _dup2(output, 1);
    }
    ~ScopedRedirection() {
        std::fflush(stdout);
        _dup2(savedIn, 0);
        _dup2(savedOut, 1);
        _close(savedIn);
        _close(savedOut);
    }
    ScopedRedirection(const ScopedRedirection&) = delete;
    ScopedRedirection& operator=(const ScopedRedirection&) = delete;

    int savedIn;
    int savedOut;
};

// An inheritable pipe: CLS and PAUSE, if they ran, would write to it and read from it.
struct Pipe {
    Pipe() : made(_pipe(ends, 4096, _O_BINARY) == 0) {}
    ~Pipe() {
        if (made) {
            _close(ends[0]);
            _close(ends[1]);
        }
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    DWORD bytesWaiting() const {
        DWORD available = 0;
        PeekNamedPipe(reinterpret_cast<HANDLE>(_get_osfhandle(ends[0])), nullptr, 0, nullptr,
                      &available, nullptr);
        return available;
    }

    int ends[2] = {-1, -1};
    bool made;
};

}  // namespace

TEST(WindowsConsole, ARedirectedSessionIsNeitherClearedNorPaused) {
    Pipe typed;
    Pipe shown;
    ASSERT_TRUE(typed.made && shown.made);
    ASSERT_EQ(_write(typed.ends[1], "2\r\n", 3), 3);
    {
        ScopedRedirection redirected(typed.ends[0], shown.ends[1]);
        EXPECT_FALSE(standardInputIsConsole());
        EXPECT_FALSE(standardOutputIsConsole());
        clearConsole();
        pauseConsole();
    }
    EXPECT_EQ(typed.bytesWaiting(), 3u) << "the pause took the script's next line";
    EXPECT_EQ(shown.bytesWaiting(), 0u) << "a clear or a pause prompt reached the output";
}

TEST(WindowsConsole, TheNulDeviceOrNoHandleIsNoConsole) {
    const HANDLE nul =
        CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(nul, INVALID_HANDLE_VALUE);
    const HANDLE savedIn = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE savedOut = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, nul);
    SetStdHandle(STD_OUTPUT_HANDLE, nul);
    EXPECT_FALSE(standardInputIsConsole());
    EXPECT_FALSE(standardOutputIsConsole());
    SetStdHandle(STD_INPUT_HANDLE, nullptr);
    EXPECT_FALSE(standardInputIsConsole());
    SetStdHandle(STD_INPUT_HANDLE, savedIn);
    SetStdHandle(STD_OUTPUT_HANDLE, savedOut);
    CloseHandle(nul);
}
