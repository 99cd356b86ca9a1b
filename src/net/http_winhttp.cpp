#include <windows.h>
#include <winhttp.h>

#include <io.h>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/http.h"

// The transfer on Windows: WinHTTP, which checks certificates against the system's store
// unless told not to, and is never told so.

namespace {

struct InternetHandle {
    HINTERNET handle = nullptr;
    explicit InternetHandle(HINTERNET opened) : handle(opened) {}
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() {
        if (handle != nullptr) {
            WinHttpCloseHandle(handle);
        }
    }
};

std::wstring wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), size);
    }
    result.resize(result.size() - 1);
    return result;
}

std::string narrow(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    }
    result.resize(result.size() - 1);
    return result;
}

std::string lastError(const char* what) {
    return std::string(what) + " failed (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

HttpAnswer httpGet(const HttpRequest& request, const BodySink& sink) {
    HttpAnswer answer;
    const std::wstring url = wide(request.url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        answer.fault = "the URL cannot be read";
        return answer;
    }
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                              std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    InternetHandle session(WinHttpOpen(wide(userAgent()).c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                       WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (session.handle == nullptr) {
        answer.fault = lastError("WinHttpOpen");
        return answer;
    }
    const int stallMs = stallSeconds() * 1000;
    WinHttpSetTimeouts(session.handle, connectSeconds * 1000, connectSeconds * 1000, stallMs,
                       stallMs);
    DWORD redirects = maxRedirects;
    WinHttpSetOption(session.handle, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects,
                     sizeof redirects);
    InternetHandle connection(WinHttpConnect(session.handle, host.c_str(), parts.nPort, 0));
    if (connection.handle == nullptr) {
        answer.fault = lastError("WinHttpConnect");
        return answer;
    }
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    InternetHandle call(WinHttpOpenRequest(connection.handle, L"GET", path.c_str(), nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           secure));
    if (call.handle == nullptr) {
        answer.fault = lastError("WinHttpOpenRequest");
        return answer;
    }
    std::wstring headers;
    if (!request.ifNoneMatch.empty()) {
        headers += L"If-None-Match: " + wide(request.ifNoneMatch) + L"\r\n";
    }
    if (!request.ifModifiedSince.empty()) {
        headers += L"If-Modified-Since: " + wide(request.ifModifiedSince) + L"\r\n";
    }
    if (!request.range.empty()) {
        headers += L"Range: bytes=" + wide(request.range) + L"\r\n";
    }
    if (!WinHttpSendRequest(
            call.handle, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
            headers.empty() ? 0 : static_cast<DWORD>(-1L), WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(call.handle, nullptr)) {
        answer.transfer =
            GetLastError() == ERROR_WINHTTP_TIMEOUT ? HttpTransfer::stalled : HttpTransfer::failed;
        answer.fault = lastError("the request");
        return answer;
    }
    // The final answer's headers, one a line, read as the other platform reads them.
    DWORD size = 0;
    WinHttpQueryHeaders(call.handle, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                        WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
    std::wstring raw(size / sizeof(wchar_t) + 1, L'\0');
    if (WinHttpQueryHeaders(call.handle, WINHTTP_QUERY_RAW_HEADERS_CRLF,
                            WINHTTP_HEADER_NAME_BY_INDEX, raw.data(), &size,
                            WINHTTP_NO_HEADER_INDEX)) {
        const std::string text = narrow(raw.c_str());
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = text.find('\n', at);
            readHeaderLine(std::string_view(text).substr(at, end - at), answer.headers);
            at = end == std::string::npos ? text.size() : end + 1;
        }
    }
    DWORD status = 0;
    DWORD statusSize = sizeof status;
    WinHttpQueryHeaders(call.handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize,
                        WINHTTP_NO_HEADER_INDEX);
    answer.status = static_cast<int>(status);
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        const ULONGLONG started = GetTickCount64();
        if (!WinHttpReadData(call.handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                             &read)) {
            // Not every WinHTTP names a timeout as one: a read that waited the whole stall
            // limit stalled, whatever the error.
            const bool waitedOut =
                GetTickCount64() - started + 100 >= static_cast<ULONGLONG>(stallMs);
            answer.transfer = GetLastError() == ERROR_WINHTTP_TIMEOUT || waitedOut
                                  ? HttpTransfer::stalled
                                  : HttpTransfer::cut;
            answer.fault = lastError("reading the body");
            return answer;
        }
        if (read == 0) {
            break;
        }
        if (request.maxBytes > 0 && answer.bodyBytes + read > request.maxBytes) {
            answer.transfer = HttpTransfer::tooLarge;
            return answer;
        }
        if (!sink(buffer.data(), read)) {
            answer.fault = "the body could not be kept";
            return answer;
        }
        answer.bodyBytes += read;
    }
    answer.transfer = HttpTransfer::answered;
    return answer;
}

bool standardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

std::filesystem::path platformCacheFolder() {
    const char* local = std::getenv("LOCALAPPDATA");
    if (local == nullptr || *local == '\0') {
        return {};
    }
    return std::filesystem::path(local) / "wxguide" / "cache";
}
