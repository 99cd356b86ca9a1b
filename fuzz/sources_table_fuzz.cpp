// The sources table as anyone may write it: read or refused naming a line, and every
// template read fills into an absolute URL with no brace left and a host of its own.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "net/sources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<Source> sources;
    std::string fault;
    if (!readSources(text, "sources.txt", sources, fault)) {
        if (!fault.starts_with("sources.txt, line ")) {
            std::abort();
        }
        return 0;
    }
    for (const Source& source : sources) {
        const std::string url = expandSource(source.urlTemplate, {2026, 12, 8, 12, "KBKX"});
        if (url.find_first_of("{}") != std::string::npos || hostOfUrl(url).empty() ||
            !(url.starts_with("http://") || url.starts_with("https://"))) {
            std::abort();
        }
    }
    return 0;
}
