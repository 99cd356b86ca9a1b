// Header lines as a server may send them, one a line: any text is read or left, and what
// is read stays within its bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "net/http_headers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    HttpHeaders headers;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        readHeaderLine(text.substr(0, end), headers);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    if ((headers.retryAfterSeconds &&
         (*headers.retryAfterSeconds < 0 || *headers.retryAfterSeconds > 3600)) ||
        headers.etag.size() > 512 || headers.lastModified.size() > 512 ||
        headers.etag.find_first_of("\r\n") != std::string_view::npos ||
        headers.lastModified.find_first_of("\r\n") != std::string_view::npos) {
        std::abort();
    }
    return 0;
}
