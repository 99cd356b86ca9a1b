#include "net/polite.h"

#include <chrono>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

NetClock systemClock() {
    return {[] {
                return std::chrono::duration<double>(
                           std::chrono::steady_clock::now().time_since_epoch())
                    .count();
            },
            [](double seconds) {
                if (seconds > 0) {
                    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
                }
            }};
}

double waitBeforeAsking(HostPace& pace, const std::string& host, double now) {
    std::deque<double>& asked = pace.asked[host];
    while (!asked.empty() && asked.front() <= now - paceWindowSeconds) {
        asked.pop_front();
    }
    if (asked.size() < requestsPerMinute) {
        return 0;
    }
    // The oldest of the last minute's requests must fall out of the minute first.
    return asked[asked.size() - requestsPerMinute] + paceWindowSeconds - now;
}

void noteAsked(HostPace& pace, const std::string& host, double now) {
    pace.asked[host].push_back(now);
}

RetryStep stepAfterFailure(int status, int tried, std::optional<int> retryAfter, double backoff) {
    if (status == 404 || status == 410) {
        return {AfterFailure::notOut, 0};
    }
    if (status == 403) {
        return {AfterFailure::stop, 0};
    }
    const bool retried = status == 0 || status == 429 || (status >= 500 && status <= 599);
    if (!retried || tried > maxRetries) {
        return {AfterFailure::giveUp, 0};
    }
    const bool asksToWait = status == 429 || status == 503;
    if (asksToWait && retryAfter) {
        return {AfterFailure::retry, static_cast<double>(*retryAfter)};
    }
    return {AfterFailure::retry, backoff * static_cast<double>(1 << (tried - 1))};
}

double backoffSeconds() {
    if (const char* text = std::getenv("WXGUIDE_BACKOFF_SECONDS"); text != nullptr) {
        const std::string_view value(text);
        if (value == "0" || value == "1" || value == "2") {
            return value[0] - '0';
        }
    }
    return 2;
}
