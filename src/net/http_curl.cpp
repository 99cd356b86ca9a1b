#include <curl/curl.h>
#include <curl/easy.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

#include "net/http.h"
#include "net/http_headers.h"

// The transfer on Linux: libcurl with its own certificate store, never told to skip a check.

namespace {

struct Transfer {
    const BodySink* sink = nullptr;
    HttpHeaders headers;
    std::uint64_t bytes = 0;
    std::uint64_t maxBytes = 0;
    bool tooLarge = false;
    bool sinkFailed = false;
};

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    readHeaderLine(std::string_view(data, size * count), transfer.headers);
    return size * count;
}

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    const std::size_t length = size * count;
    if (transfer.maxBytes > 0 && transfer.bytes + length > transfer.maxBytes) {
        transfer.tooLarge = true;
        return 0;  // ends the transfer
    }
    if (!(*transfer.sink)(data, length)) {
        transfer.sinkFailed = true;
        return 0;
    }
    transfer.bytes += length;
    return length;
}

// The library's own state is made once, before the first request.
void startCurl() {
    static std::once_flag started;
    std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// A request's list of extra headers, freed with it.
struct HeaderList {
    curl_slist* list = nullptr;
    HeaderList() = default;
    HeaderList(const HeaderList&) = delete;
    HeaderList& operator=(const HeaderList&) = delete;
    ~HeaderList() {
        curl_slist_free_all(list);
    }
    void add(const std::string& line) {
        if (curl_slist* longer = curl_slist_append(list, line.c_str())) {
            list = longer;
        }
    }
};

struct Handle {
    CURL* curl = curl_easy_init();
    Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (curl != nullptr) {
            curl_easy_cleanup(curl);
        }
    }
};

// The request's own headers: the conditions and the range, when asked.
void addRequestHeaders(const HttpRequest& request, HeaderList& extra) {
    if (!request.ifNoneMatch.empty()) {
        extra.add("If-None-Match: " + request.ifNoneMatch);
    }
    if (!request.ifModifiedSince.empty()) {
        extra.add("If-Modified-Since: " + request.ifModifiedSince);
    }
    if (!request.range.empty()) {
        extra.add("Range: bytes=" + request.range);
    }
}

}  // namespace

HttpAnswer httpGet(const HttpRequest& request, const BodySink& sink) {
    startCurl();
    HttpAnswer answer;
    Handle handle;
    if (handle.curl == nullptr) {
        answer.fault = "the transfer library could not start";
        return answer;
    }
    CURL* curl = handle.curl;
    Transfer transfer;
    transfer.sink = &sink;
    transfer.maxBytes = request.maxBytes;
    HeaderList extra;
    addRequestHeaders(request, extra);
    const std::string agent = userAgent();
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, maxRedirects);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(connectSeconds));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(stallSeconds()));
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, extra.list);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    const CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    answer.status = static_cast<int>(status);
    answer.headers = transfer.headers;
    answer.bodyBytes = transfer.bytes;
    answer.fault = code == CURLE_OK ? std::string() : curl_easy_strerror(code);
    if (transfer.tooLarge) {
        answer.transfer = HttpTransfer::tooLarge;
    } else if (code == CURLE_OK) {
        answer.transfer = HttpTransfer::answered;
    } else if (code == CURLE_OPERATION_TIMEDOUT) {
        answer.transfer = HttpTransfer::stalled;
    } else if ((code == CURLE_PARTIAL_FILE || code == CURLE_RECV_ERROR ||
                code == CURLE_GOT_NOTHING) &&
               !transfer.sinkFailed) {
        answer.transfer = HttpTransfer::cut;
    } else {
        answer.transfer = HttpTransfer::failed;
    }
    return answer;
}

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

std::filesystem::path platformCacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && *cache == '/') {
        return std::filesystem::path(cache) / "wxguide";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".cache" / "wxguide";
    }
    return {};
}
