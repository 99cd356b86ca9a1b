#pragma once

#include <ostream>
#include <string>

#include "io/platform.h"

/// A data file opened once for a whole run: the check and every reader read this one
/// descriptor, never the name again, so a file swapped or replaced meanwhile cannot split
/// the run's view of it. Closed with the object.
struct DataFile {
    DataFile() = default;
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    std::string name;                           // as typed, for the messages and the report's name
    DataFileKind kind = DataFileKind::missing;  // what stood at the name when it was opened
    int descriptor = -1;                        // open for reading on a plain file
};

/// Opens the plain file `name` into `data` without a word on the console: false when
/// nothing readable, or no plain file, stands there.
bool openPlainDataFile(DataFile& data, const std::string& name);

/// Why nothing could be opened at a name of this kind, as a message goes on after the name:
/// "does not exist", "cannot be opened as a plain file" or "cannot be read (permission
/// denied)".
std::string whyNotOpened(DataFileKind kind);

/// Opens the data file `name` into `data` once it is a readable plain file, its name has
/// three characters or more and its report file would not overwrite it. On false the
/// reason has been written to `messages` and the run ends.
bool openNamedDataFile(DataFile& data, const std::string& name, std::ostream& messages);

/// The report file's name: the data file's name with its last three characters
/// replaced by "out" (forecast.txt gives forecast.out). `name` has three or more.
std::string reportFileName(const std::string& name);
