#pragma once

#include <filesystem>
#include <string_view>

/// The running program's own file, to find the files installed with it. `invokedAs` is
/// the program's argv[0], the last resort where the system cannot tell. Empty when unknown.
std::filesystem::path programPath(std::string_view invokedAs);
