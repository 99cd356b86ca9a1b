#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

/// Where a data file that comes with the program (the station table, the sources table)
/// is looked for, in order: in `dataFolder` alone when one is named, else beside the
/// program and then in the installed share folder. Empty when neither is known.
std::vector<std::filesystem::path> installedDataPlaces(const std::filesystem::path& program,
                                                       std::string_view dataFolder,
                                                       std::string_view name);
