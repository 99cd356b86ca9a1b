// `wxguide assemble` on any product: each line read as a header and as a bulletin's end,
// then the whole command, which must never write a file that option 1 cannot read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "assemble/assemble_command.h"
#include "assemble/guidance_header.h"
#include "blend/text_reading.h"
#include "fuzz_support.h"

namespace {

void readEveryLine(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        GuidanceHeader header;
        if (readGuidanceHeader(line, header)) {
            // The words found lie within the line.
            const auto inLine = [&](std::string_view word) {
                return word.data() >= line.data() &&
                       word.data() + word.size() <= line.data() + line.size();
            };
            if (!inLine(header.station) || !inLine(header.date) || !inLine(header.run) ||
                line.substr(header.stationAt, header.station.size()) != header.station ||
                line.substr(header.dateAt, header.date.size()) != header.date) {
                std::abort();
            }
        }
        endsBulletin(line);
        beforeFirstTag(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readEveryLine(std::string_view(reinterpret_cast<const char*>(data), size));
    writeDataFile(data, size);
    AssembleRequest request;
    request.products = {fuzzDataName};
    std::ostringstream out;
    std::ostringstream err;
    const int status = runAssemble(request, out, err);
    // Exit 0 promises a file option 1 reads whole.
    std::string problem;
    if (status == 0 &&
        readBulletinText(out.str(), fixedStationSet(), problem) != TextReading::read) {
        std::abort();
    }
    return 0;
}
