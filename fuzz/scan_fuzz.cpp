// The reading layer against formatted stream extraction on any bytes: the same reads
// through both must give the same values, positions and states.
//
// The input: one byte for the block size, one for the number of reads, one byte per read
// (its kind, its target and its stop word), then the text that is read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_file.h"
#include "scan_check.h"

namespace {

constexpr std::string_view searched[] = {"FHR", "KHON", "N/X", "|", "5", "CLD"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Mostly tiny blocks, so that every word and number crosses block boundaries.
    const std::size_t blockSize = data[0] < 240 ? 1 + data[0] % 32 : scanBlockSize;
    const std::size_t readCount = std::min<std::size_t>(1 + data[1] % 32, size - 2);
    std::vector<ScanRead> reads;
    for (std::size_t i = 0; i < readCount; ++i) {
        const std::uint8_t code = data[2 + i];
        ScanRead read;
        read.kind = static_cast<ScanReadKind>(code % 6);
        read.target = searched[(code / 6) % 6];
        if (const unsigned stop = code / 36 % 7; stop > 0) {
            read.stopWord = searched[stop - 1];
        }
        reads.push_back(read);
    }
    const std::string text(reinterpret_cast<const char*>(data) + 2 + readCount,
                           size - 2 - readCount);
    ScanFile scan;
    openScanText(scan, text, blockSize);
    std::istringstream in(text);
    const std::string difference = firstDifference(scan, in, reads);
    if (!difference.empty()) {
        std::fprintf(stderr, "block size %zu: %s\n", blockSize, difference.c_str());
        std::abort();
    }
    return 0;
}
