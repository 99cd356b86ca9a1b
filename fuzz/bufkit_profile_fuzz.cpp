// The BUFKIT profile reader and the tables made from it, on any bytes, read in small
// blocks so that every word may cross a read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "extract/bufkit_profile.h"
#include "extract/extract_command.h"
#include "extract/profile_tables.h"
#include "scan/scan_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the row step and the read size.
    const int step = data[0] % 12 + 1;
    const std::size_t blockSize = data[0] % 7 == 0 ? 3 : 4096;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    ScanFile scan;
    openScanText(scan, text, blockSize);
    BufkitProfile profile;
    std::string fault;
    if (!readBufkitProfile(scan, profile, fault)) {
        return 0;
    }
    ProfileTables tables;
    if (makeProfileTables(profile, step, tables, fault) && !tables.columns.empty()) {
        const ProfileTitle title = profileTitle(profile, "gfs3_kxyz.buf");
        (void)columnFileText(tables, title, step);
        (void)severeFileText(tables, title, step);
    }
    return 0;
}
