#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>

// How often a host is asked and how long to wait before asking again. The clock and the
// sleep are handed in, so the rules can be tried without waiting.

struct NetClock {
    std::function<double()> now;        // seconds, steady
    std::function<void(double)> sleep;  // seconds
};

/// The real clock and sleep.
NetClock systemClock();

/// Requests to one host in any minute, at most.
inline constexpr std::size_t requestsPerMinute = 100;

/// The minute those are counted over, with a second to spare: the server counts requests
/// as they arrive, and one that left on time may arrive a little late.
inline constexpr double paceWindowSeconds = 61;

/// Tries after the first for a 429, a 5xx or a cut transfer, at most.
inline constexpr int maxRetries = 3;

/// When each host was asked in the last minute.
struct HostPace {
    std::map<std::string, std::deque<double>> asked;
};

/// Seconds to wait before `host` may be asked at `now` (0 when at once).
double waitBeforeAsking(HostPace& pace, const std::string& host, double now);

/// Notes that `host` was asked at `now`.
void noteAsked(HostPace& pace, const std::string& host, double now);

/// What follows an answer that did not bring the body.
enum class AfterFailure { retry, notOut, stop, giveUp };

struct RetryStep {
    AfterFailure after = AfterFailure::giveUp;
    double waitSeconds = 0;
};

/// The next step after try number `tried` (1 for the first) ended with `status` (0 for a
/// transfer cut or stalled), the server asking for `retryAfter` seconds or not. Waits of
/// 2, 4 and 8 times `backoffSeconds` when the server names none.
RetryStep stepAfterFailure(int status, int tried, std::optional<int> retryAfter,
                           double backoffSeconds);

/// The seconds of the first wait when a server names none: 2, or WXGUIDE_BACKOFF_SECONDS
/// (0 to 2) where the tests ask for less.
double backoffSeconds();
