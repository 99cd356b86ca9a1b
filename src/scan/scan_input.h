#pragma once

#include <cstddef>
#include <string>

#include "scan/scan_file.h"

// A source named on the command line, opened for one reading through the layer: a plain
// file read by position, or standard input ("-") read in order as it comes, from a file,
// a pipe or a console alike.

/// An open named source with its scan; a file's descriptor is closed with it.
struct ScanInput {
    ScanInput() = default;
    ScanInput(const ScanInput&) = delete;
    ScanInput& operator=(const ScanInput&) = delete;
    ~ScanInput();

    int descriptor = -1;  // a plain file opened here; -1 for standard input
    bool standardInput = false;
    ScanFile scan;
};

/// How an opening went.
enum class InputOpening { opened, missing, unreadable, notPlain };

/// Opens `name` ("-" for standard input) for reading, never waiting: a name that holds no
/// plain file (a pipe, a device, a socket, a folder) or none this user may read, or
/// standard input when it is a folder or a device, is `notPlain` and left unopened.
InputOpening openScanInput(ScanInput& input, const std::string& name,
                           std::size_t blockSize = scanBlockSize);

/// True when the open input is the very file that `other` names.
bool inputIsFile(const ScanInput& input, const std::string& name, const std::string& other);
