#include "stations/program_path.h"

#include <system_error>

std::filesystem::path programPath(std::string_view invokedAs) {
    std::error_code error;
    // Linux names the program's file here whatever folder or link it was started from.
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && path.is_absolute()) {
        return path;
    }
    // Elsewhere argv[0] holds a path when the program was started by one; a bare name
    // came through PATH and tells no folder.
    if (invokedAs.find('/') == std::string_view::npos) {
        return {};
    }
    path = std::filesystem::canonical(std::filesystem::path(invokedAs), error);
    return error ? std::filesystem::path() : path;
}
