#include "fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

std::filesystem::path scratchFolder;

void removeScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(scratchFolder.parent_path(), ignored);
    std::filesystem::remove_all(scratchFolder, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    std::string pattern = (std::filesystem::temp_directory_path() / "wxguide-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    scratchFolder = pattern;
    std::filesystem::current_path(scratchFolder);
    std::atexit(removeScratchFolder);
    return 0;
}

void writeDataFile(const std::uint8_t* data, std::size_t size) {
    // A run may have left a report or another file behind: every input starts afresh.
    for (const auto& entry : std::filesystem::directory_iterator(scratchFolder)) {
        std::filesystem::remove_all(entry.path());
    }
    std::ofstream file(fuzzDataName, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}
