#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <string>

#include "net/polite.h"

// One URL brought whole into the cache, or not at all: the cache asked first, the host
// asked politely, the failures a server may answer with waited out and tried again where
// trying again may help, the body checked before it is kept.

/// What a command's own check says of a body that came whole.
enum class BodyVerdict { whole, notOut, refused };

struct BodyCheck {
    BodyVerdict verdict = BodyVerdict::refused;
    std::string problem;  // for refused: what was wrong, told after the URL
};

using CheckBody = std::function<BodyCheck(const std::filesystem::path& body)>;

/// A command's downloads: one cache, one pace per host, counted over the whole command.
struct DownloadSession {
    std::filesystem::path cache;  // made before the first download
    bool offline = false;         // the cache only
    bool progress = false;        // a progress line on `err`
    NetClock clock = systemClock();
    double backoff = backoffSeconds();
    HostPace pace;
    std::set<std::string> stoppedHosts;  // answered 403: never asked again
    std::ostream* err = nullptr;
    std::string prefix = "wxguide fetch: ";
    std::size_t requests = 0;
    std::uint64_t bodyBytes = 0;
};

struct DownloadAsk {
    std::string url;
    std::uint64_t maxBytes = 0;
    bool textAsked = true;  // an HTML page, or the archive's refusal, is no answer
    bool final = true;      // the URL names its run: once whole, never asked for again
    std::string label;      // what the progress line calls it
    std::string range;      // "100-199" or "100-": only those bytes, answered 206 with a
                            // Content-Range naming them; a 200 (the whole file) is refused
};

/// The name the cache keeps an ask's body under: its URL, with the bytes asked for.
std::string cachedName(const DownloadAsk& ask);

enum class Downloaded { got, notOut, failed };

struct DownloadResult {
    Downloaded outcome = Downloaded::failed;
    std::filesystem::path body;  // the cached body, when got
    bool fromCache = false;      // no body came over the network
};

/// Brings `ask.url` whole into the session's cache. A body the check calls whole is kept
/// (a final one reused without asking, any other asked for again only conditionally); a
/// refused one is never kept; each fault is told on one line naming the URL.
DownloadResult download(DownloadSession& session, const DownloadAsk& ask, const CheckBody& check);
