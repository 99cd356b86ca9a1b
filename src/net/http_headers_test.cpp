#include "net/http_headers.h"

#include <gtest/gtest.h>

#include <string>

TEST(HttpHeaders, ReadsTheHeadersOfTheLastAnswerOnly) {
    HttpHeaders headers;
    for (const char* line :
         {"HTTP/1.1 302 Found\r\n", "ETag: \"old\"\r\n", "Location: /x\r\n", "HTTP/1.1 200 OK\r\n",
          "etag:  \"abc\" \r\n", "LAST-MODIFIED: Tue, 08 Dec 2026 16:00:00 GMT\r\n",
          "Content-Length: 11681\r\n", "Retry-After: 7\r\n",
          "content-range: bytes 0-11680/540000000\r\n", "Content-Type: text/plain\r\n",
          "no colon here\r\n", "\r\n"}) {
        readHeaderLine(line, headers);
    }
    EXPECT_EQ(headers.etag, "\"abc\"");
    EXPECT_EQ(headers.lastModified, "Tue, 08 Dec 2026 16:00:00 GMT");
    EXPECT_EQ(headers.contentType, "text/plain");
    EXPECT_EQ(headers.contentLength, 11681u);
    EXPECT_EQ(headers.retryAfterSeconds, 7);
    EXPECT_EQ(headers.contentRange, "bytes 0-11680/540000000");

    struct Value {
        const char* line;
        std::optional<std::uint64_t> length;
        std::optional<int> retryAfter;
    };
    const Value values[] = {
        {"Content-Length: -1", std::nullopt, std::nullopt},
        {"Content-Length: 12abc", std::nullopt, std::nullopt},
        {"Content-Length: 99999999999999999999999", std::nullopt, std::nullopt},
        {"Content-Length:", std::nullopt, std::nullopt},
        {"Retry-After: Wed, 21 Oct 2015 07:28:00 GMT", std::nullopt, std::nullopt},
        {"Retry-After: 86400", std::nullopt, 3600},
        {"Retry-After: +5", std::nullopt, std::nullopt},
    };
    for (const Value& value : values) {
        HttpHeaders read;
        readHeaderLine(value.line, read);
        EXPECT_EQ(read.contentLength, value.length) << value.line;
        EXPECT_EQ(read.retryAfterSeconds, value.retryAfter) << value.line;
    }
    // A control character in a value (an ETag is sent back) leaves the header unread.
    HttpHeaders injected;
    readHeaderLine("ETag: \"a\rX-Evil: 1\"", injected);
    readHeaderLine(std::string("Last-Modified: Tue\0 08 Dec", 27), injected);
    EXPECT_EQ(injected.etag, "");
    EXPECT_EQ(injected.lastModified, "");
}

TEST(HttpHeaders, TakesAContentRangeOnlyWhenItNamesTheBytesAsked) {
    struct Case {
        const char* sent;
        const char* asked;
        bool answers;
    };
    const Case cases[] = {
        {"bytes 100-199/5000", "100-199", true},   {"bytes 100-4999/5000", "100-", true},
        {"bytes 100-199/*", "100-199", true},      {"bytes 0-0/1", "0-0", true},
        {"bytes 100-198/5000", "100-199", false},   // shorter
        {"bytes 101-199/5000", "100-199", false},   // shifted
        {"bytes 100-299/5000", "100-199", false},   // more than asked
        {"bytes 100-4998/5000", "100-", false},     // not to the end
        {"bytes 100-4999/*", "100-", false},        // an end it cannot show
        {"bytes 100-5000/5000", "100-199", false},  // past the file
        {"bytes 0-4999/5000", "100-", false},       // the whole file
        {"bytes */5000", "100-199", false},        {"100-199/5000", "100-199", false},
        {"bytes 100-199", "100-199", false},       {"", "100-199", false},
        {"bytes 199-100/5000", "199-100", false},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(contentRangeAnswers(test.sent, test.asked), test.answers)
            << test.sent << " for " << test.asked;
    }
}
