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

/// Opens `report` on a new temporary file beside the report file of the data file `name`;
/// the older report stays as it is until closeReportFile. Never opens a folder, a pipe or a
/// device standing at the report's name. A failure is told by closeReportFile.
void openReportFile(const std::string& name, std::ofstream& report);

/// Closes the report of the data file `name` and, when every write succeeded, puts it in
/// place of the older report (replacing a link, not following it). Otherwise removes the
/// temporary file, keeps the older report and says so once on the console, naming the
/// report file. Returns whether the report was written.
bool closeReportFile(const std::string& name, std::ofstream& report);
