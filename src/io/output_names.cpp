#include "io/output_names.h"

#include <filesystem>
#include <system_error>

#include "io/platform.h"

namespace fs = std::filesystem;

namespace {

// The folder a name leads to: "." for a bare name.
fs::path folderOf(const fs::path& name) {
    const fs::path folder = name.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

bool namesOneFile(const std::string& first, const std::string& second) {
    if (first == second) {
        return true;
    }
    const fs::path a(first);
    const fs::path b(second);
    std::error_code error;
    const bool aStands = fs::exists(a, error);
    const bool bStands = fs::exists(b, error);
    if (aStands && bStands) {
        return fs::equivalent(a, b, error) && !error;
    }
    if (aStands != bStands) {
        // A name still to be made is no file that stands.
        return false;
    }
    const fs::path aName = a.filename();
    const fs::path bName = b.filename();
    const bool plainNames = !aName.empty() && aName != "." && aName != ".." && !bName.empty() &&
                            bName != "." && bName != "..";
    const bool foldersStand = fs::exists(folderOf(a), error) && fs::exists(folderOf(b), error);
    if (plainNames && foldersStand) {
        return fileNamesEqual(aName.string(), bName.string()) &&
               fs::equivalent(folderOf(a), folderOf(b), error) && !error;
    }
    // Where no folder stands either, nothing can be written; the spelling is all there is.
    return fileNamesEqual(a.lexically_normal().string(), b.lexically_normal().string());
}
