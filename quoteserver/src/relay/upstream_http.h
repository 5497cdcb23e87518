// The relay's HTTP client for the live quote sources: HTTPS (or plain HTTP to a mirror or a
// test's fake), connections kept alive between the calls of a thread, several calls at once,
// every call bounded in time and size. The only file that sees libcurl is upstream_http.cpp.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/url_encode.h"

namespace quotes {

inline constexpr int kUpstreamConnectSeconds = 5;
inline constexpr int kUpstreamTotalSeconds = 10;  // the viewer's own read time-out is longer
inline constexpr std::size_t kUpstreamMostBody = 2 * 1024 * 1024;
inline constexpr int kUpstreamMostAtOnce = 8;

struct UpstreamRequest {
    std::string url;
    std::vector<std::string> headers;  // "Name: value"
    bool connectOnly = false;          // only whether the host can be reached: no request sent
    int redirects = 0;                 // how many redirects are followed (their cookies kept)
    std::string form = {};             // a POST of this form (x-www-form-urlencoded) when set
    bool page = false;                 // an HTML page is the answer looked for, not data
};

struct UpstreamResponse {
    int status = 0;  // 0: no answer (refused, timed out, cut, too large)
    std::string body;
    std::vector<std::string> cookies;  // "name=value" of each Set-Cookie, redirects' too
    std::string finalUrl;              // where the last redirect led
    std::optional<int> retryAfterSeconds;
    // X-Ratelimit-Remaining (calls left) and X-Ratelimit-Reset (epoch seconds) when given.
    std::optional<long long> rateLimitRemaining, rateLimitResetSeconds;
    long milliseconds = 0;
    std::string error;         // why there is no answer
    bool unreachable = false;  // the host's name did not resolve, or it took no connection
    bool called = false;       // the call was made: the limits and the deadline allowed it
};

class UpstreamHttp {
public:
    virtual ~UpstreamHttp() = default;
    // Every request at once (at most kUpstreamMostAtOnce in flight); answers in their order.
    // A call takes at most the client's total time-out, and at most `mostMs` when it is given.
    virtual std::vector<UpstreamResponse> Fetch(const std::vector<UpstreamRequest>& requests,
                                                long mostMs = 0) = 0;
};

// A current desktop browser's: the sources' edges throttle what does not look like one.
inline constexpr const char* kBrowserUserAgent =
    "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/143.0.0.0 Safari/537.36";

std::unique_ptr<UpstreamHttp> MakeUpstreamHttp(int totalSeconds = kUpstreamTotalSeconds,
                                               std::string userAgent = kBrowserUserAgent);

}  // namespace quotes
