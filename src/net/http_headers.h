#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What an answer's header lines say that a download needs, read the same on every
// platform: the transfer libraries hand the lines over, the reading is ours.

/// The headers of one answer. A redirect's own headers are forgotten at the next status line.
struct HttpHeaders {
    std::string etag;
    std::string lastModified;
    std::string contentType;
    std::optional<std::uint64_t> contentLength;
    std::optional<int> retryAfterSeconds;  // only the delay form; a date is left unread
    std::string contentRange;              // "bytes 100-199/5000", as the server sent it
};

/// Reads one header line (with or without its CR LF) into `headers`. A status line
/// ("HTTP/1.1 302 Found") starts a new answer and clears what came before. Lines of no
/// interest, and values that cannot be read, leave `headers` as they are.
void readHeaderLine(std::string_view line, HttpHeaders& headers);

/// Whether the Content-Range `sent` ("bytes 100-199/5000") answers the Range `asked`
/// ("100-199", or "100-" to the end of the file) with exactly those bytes and no others:
/// the same first byte, the same last one, or for an open end the file's last byte.
bool contentRangeAnswers(std::string_view sent, std::string_view asked);

/// Seconds with no byte after which a transfer is given up: 30, or WXGUIDE_STALL_SECONDS
/// (1 to 30) where the tests ask for less.
int stallSeconds();

/// Seconds allowed for the connection to be made.
inline constexpr int connectSeconds = 30;

/// Redirects followed at most.
inline constexpr long maxRedirects = 5;

/// The User-Agent of every request: "wxguide/VERSION".
std::string userAgent();
