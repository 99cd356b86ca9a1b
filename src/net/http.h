#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "net/http_headers.h"

// One GET over HTTP or HTTPS through the platform's own library (libcurl, WinHTTP):
// certificates always verified, at most maxRedirects redirects followed, a connect
// timeout and a stall limit, the body handed over piece by piece as it comes.

struct HttpRequest {
    std::string url;
    std::string ifNoneMatch;      // sent when not empty
    std::string ifModifiedSince;  // sent when not empty
    std::string range;            // "100-199" or "100-": the bytes asked for, when not empty
    std::uint64_t maxBytes = 0;   // a body longer than this is cut off: tooLarge
};

/// How a transfer ended. `answered` means a whole answer came (its body may still be
/// shorter than its Content-Length when the library does not check it).
enum class HttpTransfer { answered, cut, stalled, tooLarge, failed };

struct HttpAnswer {
    HttpTransfer transfer = HttpTransfer::failed;
    int status = 0;
    HttpHeaders headers;
    std::uint64_t bodyBytes = 0;
    std::string fault;  // what the library said, when the transfer was not answered
};

/// Receives the body as it comes; false stops the transfer (a full disk).
using BodySink = std::function<bool(const char* data, std::size_t size)>;

/// Makes the request; never throws. The sink sees only the final answer's body.
HttpAnswer httpGet(const HttpRequest& request, const BodySink& sink);

/// True when standard error is a terminal: progress is shown only there.
bool standardErrorIsTerminal();

/// The platform's place for the download cache: $XDG_CACHE_HOME/wxguide, else
/// ~/.cache/wxguide; on Windows %LOCALAPPDATA%\wxguide\cache. Empty when unknown.
std::filesystem::path platformCacheFolder();
