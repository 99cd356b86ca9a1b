#include "net/download.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include "io/option_word.h"
#include "net/body_kind.h"
#include "net/cache.h"
#include "net/http.h"
#include "net/http_headers.h"
#include "net/polite.h"
#include "net/sources.h"

namespace {

// The file a body is written to as it comes, closed with the object.
struct BodyFile {
    std::FILE* file = nullptr;
    explicit BodyFile(const std::filesystem::path& name)
        : file(std::fopen(name.string().c_str(), "wb")) {}
    BodyFile(const BodyFile&) = delete;
    BodyFile& operator=(const BodyFile&) = delete;
    ~BodyFile() {
        close();
    }
    bool close() {
        const bool closed = file == nullptr || std::fclose(file) == 0;
        file = nullptr;
        return closed;
    }
};

struct Attempt {
    HttpAnswer answer;
    BodyReading reading;
    bool written = false;  // the body reached the temporary whole
};

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", value);
    return text;
}

void showProgress(DownloadSession& session, const DownloadAsk& ask, std::uint64_t bytes,
                  bool done) {
    if (!session.progress) {
        return;
    }
    std::ostream& err = *session.err;
    if (done) {
        err << "\r\033[K" << std::flush;
        return;
    }
    err << "\r\033[K" << ask.label << ": " << bytes << " bytes" << std::flush;
}

Attempt askOnce(DownloadSession& session, const DownloadAsk& ask, const CacheEntry* entry,
                const std::filesystem::path& temporary) {
    Attempt attempt;
    BodyFile file(temporary);
    if (file.file == nullptr) {
        attempt.answer.fault = "the cache file " + temporary.string() + " cannot be made";
        return attempt;
    }
    HttpRequest request;
    request.url = ask.url;
    request.maxBytes = ask.maxBytes;
    request.range = ask.range;
    if (entry != nullptr && ask.range.empty()) {
        request.ifNoneMatch = entry->etag;
        request.ifModifiedSince = entry->lastModified;
    }
    std::uint64_t bytes = 0;
    bool diskFull = false;
    attempt.answer = httpGet(request, [&](const char* data, std::size_t size) {
        readBodyPiece(attempt.reading, std::string_view(data, size));
        bytes += size;
        showProgress(session, ask, bytes, false);
        diskFull = std::fwrite(data, 1, size, file.file) != size;
        return !diskFull;
    });
    showProgress(session, ask, bytes, true);
    attempt.written = file.close() && !diskFull;
    if (diskFull && attempt.answer.fault.empty()) {
        attempt.answer.fault = "the cache file " + temporary.string() + " could not be written";
    }
    session.bodyBytes += attempt.answer.bodyBytes;
    return attempt;
}

// The body's fault as the transfer and its framing tell it, or empty when it came whole.
std::string transferFault(const Attempt& attempt, bool textAsked) {
    const HttpAnswer& answer = attempt.answer;
    if (answer.transfer == HttpTransfer::stalled) {
        return "no byte came for " + std::to_string(stallSeconds()) + " s";
    }
    if (answer.headers.contentLength && answer.bodyBytes != *answer.headers.contentLength) {
        return "the body ended at " + std::to_string(answer.bodyBytes) + " of the " +
               std::to_string(*answer.headers.contentLength) + " bytes it announced";
    }
    if (answer.transfer == HttpTransfer::cut) {
        return "the transfer was cut after " + std::to_string(answer.bodyBytes) + " bytes";
    }
    if (textAsked && bodyKind(attempt.reading) == BodyKind::openFrame) {
        return "the last product's frame was never closed";
    }
    return {};
}

void removeQuietly(const std::filesystem::path& name) {
    std::error_code error;
    std::filesystem::remove(name, error);
}

// The cached body checked again: a cache may have been changed by hand.
DownloadResult fromCache(DownloadSession& session, const DownloadAsk& ask, const CacheEntry& entry,
                         const CheckBody& check) {
    const BodyCheck checked = check(entry.body);
    if (checked.verdict == BodyVerdict::whole) {
        return {Downloaded::got, entry.body, true};
    }
    if (checked.verdict == BodyVerdict::refused) {
        *session.err << session.prefix << ask.url << ": the cached copy " << checked.problem
                     << "; it was removed.\n";
        removeQuietly(entry.body);
        return {Downloaded::failed, {}, true};
    }
    return {Downloaded::notOut, {}, true};
}

}  // namespace

std::string cachedName(const DownloadAsk& ask) {
    return ask.range.empty() ? ask.url : ask.url + "#bytes=" + ask.range;
}

DownloadResult download(DownloadSession& session, const DownloadAsk& ask, const CheckBody& check) {
    std::ostream& err = *session.err;
    const std::string name = cachedName(ask);
    const std::optional<CacheEntry> entry = findCacheEntry(session.cache, name);
    // A product of a run that is over does not change: it is never asked for again.
    if (entry && (entry->final || session.offline)) {
        const DownloadResult cached = fromCache(session, ask, *entry, check);
        if (cached.outcome == Downloaded::got || session.offline) {
            return cached;
        }
    }
    if (session.offline) {
        statusLines(err) << session.prefix << ask.url << " is not in the cache.\n";
        return {Downloaded::notOut, {}, true};
    }
    const std::string host = hostOfUrl(ask.url);
    if (session.stoppedHosts.contains(host)) {
        return {Downloaded::failed, {}, false};
    }
    const std::filesystem::path temporary = cacheTemporary(session.cache, name);
    for (int tried = 1;; ++tried) {
        session.clock.sleep(waitBeforeAsking(session.pace, host, session.clock.now()));
        noteAsked(session.pace, host, session.clock.now());
        ++session.requests;
        const Attempt attempt = askOnce(session, ask, entry ? &*entry : nullptr, temporary);
        const HttpAnswer& answer = attempt.answer;
        if (answer.transfer == HttpTransfer::failed || !attempt.written) {
            removeQuietly(temporary);
            err << session.prefix << ask.url << " could not be fetched: " << answer.fault << ".\n";
            return {};
        }
        if (!ask.range.empty() && answer.status == 200) {
            // A proxy or server that ignores the range sends the whole file: never taken.
            removeQuietly(temporary);
            err << session.prefix << ask.url
                << ": answered 200 with the whole file where the bytes " << ask.range
                << " were asked; not kept.\n";
            return {};
        }
        if (answer.status == 206 && !ask.range.empty() &&
            !contentRangeAnswers(answer.headers.contentRange, ask.range)) {
            removeQuietly(temporary);
            err << session.prefix << ask.url << ": the bytes " << ask.range
                << " were answered with the Content-Range \"" << answer.headers.contentRange
                << "\"; not kept.\n";
            return {};
        }
        if (answer.transfer == HttpTransfer::tooLarge) {
            removeQuietly(temporary);
            err << session.prefix << ask.url << ": the body is over the " << ask.maxBytes
                << " bytes a product may have; not kept.\n";
            return {};
        }
        if (answer.status == 304 && entry) {
            removeQuietly(temporary);
            return fromCache(session, ask, *entry, check);
        }
        const int whole = ask.range.empty() ? 200 : 206;
        const std::string fault =
            answer.status == whole ? transferFault(attempt, ask.textAsked) : "";
        if (answer.status == whole && fault.empty()) {
            const BodyKind kind = bodyKind(attempt.reading);
            if (ask.textAsked && kind == BodyKind::notFound) {
                removeQuietly(temporary);
                statusLines(err) << session.prefix << ask.url << ": not out.\n";
                return {Downloaded::notOut, {}, false};
            }
            if (ask.textAsked && kind == BodyKind::html) {
                removeQuietly(temporary);
                err << session.prefix << ask.url
                    << ": an HTML page came where text was asked; not kept.\n";
                return {};
            }
            const BodyCheck checked = check(temporary);
            if (checked.verdict != BodyVerdict::whole) {
                removeQuietly(temporary);
                if (checked.verdict == BodyVerdict::notOut) {
                    statusLines(err) << session.prefix << ask.url << ": not out.\n";
                    return {Downloaded::notOut, {}, false};
                }
                err << session.prefix << ask.url << ": " << checked.problem << "; not kept.\n";
                return {};
            }
            CacheEntry kept{name, answer.headers.etag, answer.headers.lastModified, ask.final, {}};
            if (!keepCacheEntry(session.cache, temporary, kept)) {
                err << session.prefix << ask.url << ": the download could not be kept in "
                    << session.cache.string() << ".\n";
                return {};
            }
            return {Downloaded::got, session.cache / (cacheKey(name) + ".body"), false};
        }
        removeQuietly(temporary);
        const RetryStep step = stepAfterFailure(fault.empty() ? answer.status : 0, tried,
                                                answer.headers.retryAfterSeconds, session.backoff);
        const std::string what =
            fault.empty() ? "answered " + std::to_string(answer.status) : fault;
        switch (step.after) {
            case AfterFailure::notOut:
                statusLines(err) << session.prefix << ask.url << ": not out.\n";
                return {Downloaded::notOut, {}, false};
            case AfterFailure::stop:
                session.stoppedHosts.insert(host);
                err << session.prefix << ask.url << " answered 403 Forbidden; " << host
                    << " is not asked again.\n";
                return {};
            case AfterFailure::giveUp:
                err << session.prefix << ask.url << ": " << what
                    << (tried > 1 ? " (tried " + std::to_string(tried) + " times)" : "")
                    << "; not kept.\n";
                return {};
            case AfterFailure::retry:
                statusLines(err) << session.prefix << ask.url << ": " << what
                                 << "; trying again in " << seconds(step.waitSeconds) << ".\n";
                session.clock.sleep(step.waitSeconds);
                break;
        }
    }
}
