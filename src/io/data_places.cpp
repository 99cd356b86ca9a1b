#include "io/data_places.h"

std::vector<std::filesystem::path> installedDataPlaces(const std::filesystem::path& program,
                                                       std::string_view dataFolder,
                                                       std::string_view name) {
    const std::filesystem::path file(name);
    if (!dataFolder.empty()) {
        return {std::filesystem::path(dataFolder) / file};
    }
    if (program.empty()) {
        return {};
    }
    const std::filesystem::path folder = program.parent_path();
    // Beside the program first: a share folder that others may write must not win over
    // the file that came with this very program.
    return {folder / file, folder / ".." / "share" / "wxguide" / file};
}
