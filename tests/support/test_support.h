#pragma once

#include <filesystem>
#include <sstream>
#include <string>

// Helpers for unit tests that touch files and the console.

/// A fresh empty folder, made the current directory for the test's length and
/// removed afterwards, so runs that name bare files find them there.
struct ScopedTempDirectory {
    ScopedTempDirectory();
    ~ScopedTempDirectory();
    ScopedTempDirectory(const ScopedTempDirectory&) = delete;
    ScopedTempDirectory& operator=(const ScopedTempDirectory&) = delete;

    std::filesystem::path path;
    std::filesystem::path previous;
};

/// Feeds `input` to standard input and collects standard output for the test's length.
/// Restores both streams, and their format state, afterwards.
struct ScopedConsole {
    explicit ScopedConsole(const std::string& input);
    ~ScopedConsole();
    ScopedConsole(const ScopedConsole&) = delete;
    ScopedConsole& operator=(const ScopedConsole&) = delete;

    std::string output() const {
        return out.str();
    }

    std::istringstream in;
    std::ostringstream out;
    std::streambuf* savedIn;
    std::streambuf* savedOut;
};

/// The whole content of a file, byte for byte; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

/// The file's text read in text mode: a report written on Windows ends its lines in CR LF,
/// read here as LF, as the program's own text-mode writes intend.
std::string readTextFile(const std::filesystem::path& path);

/// Writes `content` into a new or emptied file.
void writeFile(const std::filesystem::path& path, const std::string& content);

/// How many entries the folder holds.
int entriesIn(const std::filesystem::path& folder);

/// What opening the data file `name` did: whether it kept a file open, and what it told.
struct OpeningAnswer {
    bool opened = false;
    bool descriptorKept = false;
    std::string told;
};
OpeningAnswer openDataFileNamed(const std::string& name);
