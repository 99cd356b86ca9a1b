#pragma once

#include <fstream>
#include <string>

/// The data-file dialogue every run begins with: asks for the name, reads one word
/// into `name` and checks that it names a readable plain file whose report file would
/// not overwrite it. On false a message has been written and the run ends.
bool openDataFile(std::string& name);

/// The report file's name: the data file's name with its last three characters
/// replaced by "out" (forecast.txt gives forecast.out). `name` has three or more.
std::string reportFileName(const std::string& name);

/// Creates or empties the report file of the data file `name` and opens `report` on it.
/// A failed open is told by closeReportFile, once the run has written everything.
void openReportFile(const std::string& name, std::ofstream& report);

/// Closes the report of the data file `name`. When it could not be created or written
/// (a missing folder, a full disk), says so on the console, naming the report file.
/// Returns whether the report was written.
bool closeReportFile(const std::string& name, std::ofstream& report);
