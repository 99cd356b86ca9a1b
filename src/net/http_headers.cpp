#include "net/http_headers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <system_error>

#ifndef WXGUIDE_VERSION
#error "the build passes the project version as WXGUIDE_VERSION"
#endif

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n')) {
        text.remove_suffix(1);
    }
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Digits only, the whole value: "12abc" or "-1" is no number.
template <typename Number>
std::optional<Number> wholeNumber(std::string_view text) {
    Number value{};
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

void readHeaderLine(std::string_view line, HttpHeaders& headers) {
    if (line.starts_with("HTTP/")) {
        headers = HttpHeaders{};
        return;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return;
    }
    const std::string_view name = trimmed(line.substr(0, colon));
    const std::string_view value = trimmed(line.substr(colon + 1));
    // A header value is short, and holds no control character: an ETag is sent back in a
    // request, where a line end would start another header.
    if (value.size() > 512 || std::any_of(value.begin(), value.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return (byte < ' ' && c != '\t') || byte == 0x7f;
        })) {
        return;
    }
    if (sameName(name, "ETag")) {
        headers.etag = value;
    } else if (sameName(name, "Last-Modified")) {
        headers.lastModified = value;
    } else if (sameName(name, "Content-Type")) {
        headers.contentType = value;
    } else if (sameName(name, "Content-Length")) {
        headers.contentLength = wholeNumber<std::uint64_t>(value);
    } else if (sameName(name, "Content-Range")) {
        headers.contentRange = value;
    } else if (sameName(name, "Retry-After")) {
        const std::optional<long long> seconds = wholeNumber<long long>(value);
        // A server asking for more than an hour is not waited for as asked.
        headers.retryAfterSeconds =
            seconds ? std::optional<int>(static_cast<int>(*seconds > 3600 ? 3600 : *seconds))
                    : std::nullopt;
    }
}

bool contentRangeAnswers(std::string_view sent, std::string_view asked) {
    constexpr std::string_view unit = "bytes ";
    const std::size_t dash = sent.find('-');
    const std::size_t slash = sent.find('/');
    const std::size_t askedDash = asked.find('-');
    if (!sent.starts_with(unit) || dash == std::string_view::npos ||
        slash == std::string_view::npos || slash < dash || askedDash == std::string_view::npos) {
        return false;
    }
    const auto first = wholeNumber<std::uint64_t>(sent.substr(unit.size(), dash - unit.size()));
    const auto last = wholeNumber<std::uint64_t>(sent.substr(dash + 1, slash - dash - 1));
    const auto total = wholeNumber<std::uint64_t>(sent.substr(slash + 1));
    const auto askedFirst = wholeNumber<std::uint64_t>(asked.substr(0, askedDash));
    const std::string_view askedEnd = asked.substr(askedDash + 1);
    if (!first || !last || !askedFirst || *first != *askedFirst || *last < *first ||
        (total && *last >= *total)) {
        return false;
    }
    if (askedEnd.empty()) {
        return total && *last + 1 == *total;
    }
    const auto askedLast = wholeNumber<std::uint64_t>(askedEnd);
    return askedLast && *askedLast == *last;
}

int stallSeconds() {
    const char* text = std::getenv("WXGUIDE_STALL_SECONDS");
    if (text != nullptr) {
        const std::optional<int> seconds = wholeNumber<int>(text);
        if (seconds && *seconds >= 1 && *seconds <= 30) {
            return *seconds;
        }
    }
    return 30;
}

std::string userAgent() {
    return std::string("wxguide/") + WXGUIDE_VERSION;
}
