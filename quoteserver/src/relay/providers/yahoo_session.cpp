// Yahoo's session: a cookie and the crumb made for it. The cookie comes from fc.yahoo.com, and
// from the site's home page when that gives none (or none the crumb call takes); the crumb from
// query1, and from query2 when query1 refuses it. Redirects are followed, and a consent wall is
// answered with its reject-all choice. A throttled call ends the attempt: more calls would only
// add to the throttle.
#include <algorithm>
#include <chrono>

#include "relay/providers/yahoo_consent.h"
#include "relay/providers/yahoo_headers.h"
#include "relay/providers/yahoo_source.h"

namespace quotes {
namespace {

constexpr std::size_t kMostCrumb = 64;

bool UsableCrumb(const std::string& crumb) {
    return !crumb.empty() && crumb.size() <= kMostCrumb && crumb.find('<') == std::string::npos &&
           crumb.find('{') == std::string::npos && crumb.find("Too Many") == std::string::npos &&
           crumb.find_first_of("\r\n ") == std::string::npos;
}

void AddCookies(const UpstreamResponse& response, std::string& jar) {
    for (const std::string& c : response.cookies) jar += (jar.empty() ? "" : "; ") + c;
}

// Each place once, in order: with `--upstream`, every host is the same.
std::vector<std::string> Places(const std::string& first, const std::string& second) {
    std::vector<std::string> places;
    if (!first.empty()) places.push_back(first);
    if (!second.empty() && second != first) places.push_back(second);
    return places;
}

}  // namespace

std::string YahooSource::CookieFrom(const std::string& page, FetchResult& result) {
    UpstreamRequest ask{page + "/", YahooPageHeaders()};
    ask.redirects = kYahooMostRedirects;
    ask.page = true;
    const UpstreamResponse got = Call({ask}, "cookie", 0, result).front();
    if (got.status == 429) result.throttled = true;
    std::string jar;
    AddCookies(got, jar);
    if (got.status == 0 || !IsConsentPage(got.finalUrl, got.body)) return jar;
    const std::optional<ConsentReply> reply = RejectAll(got.finalUrl, got.body);
    if (!reply) {
        Failed(&result, "a consent page without its form");
        return {};
    }
    UpstreamRequest consent{reply->url, YahooPageHeaders()};
    if (!jar.empty()) consent.headers.push_back("Cookie: " + jar);
    consent.form = reply->form;
    consent.redirects = kYahooMostRedirects;
    consent.page = true;
    const UpstreamResponse done = Call({consent}, "consent", 0, result).front();
    if (done.status == 429) result.throttled = true;
    AddCookies(done, jar);
    return jar;
}

std::string YahooSource::CrumbFrom(const std::string& host, const std::string& cookie,
                                   FetchResult& result) {
    UpstreamRequest ask{host + "/v1/test/getcrumb", YahooApiHeaders(hosts_.pages, cookie)};
    const UpstreamResponse got = Call({ask}, "crumb", 0, result).front();
    // A throttled crumb is a throttle, whether a 429 or "Too Many Requests" with status 200.
    if (got.status == 429 ||
        (got.status == 200 && got.body.find("Too Many Requests") != std::string::npos)) {
        if (got.status == 200) Failed(&result, "the crumb call was throttled");
        result.throttled = true;
        return {};
    }
    if (got.status == 200 && !UsableCrumb(got.body)) Failed(&result, "no crumb in the answer");
    return got.status == 200 && UsableCrumb(got.body) ? got.body : std::string();
}

bool YahooSource::NewSession(std::string& cookie, std::string& crumb, FetchResult& result) {
    for (const std::string& page : Places(hosts_.cookie, hosts_.home)) {
        const std::string jar = CookieFrom(page, result);
        if (result.throttled) return false;
        if (jar.empty()) continue;
        for (const std::string& host : Places(hosts_.query, hosts_.query2)) {
            const std::string got = CrumbFrom(host, jar, result);
            if (result.throttled) return false;
            if (got.empty()) continue;
            cookie = jar;
            crumb = got;
            return true;
        }
    }
    return false;
}

bool YahooSource::Session(const std::string& refused, std::string& cookie, std::string& crumb,
                          FetchResult& result) {
    std::unique_lock<std::mutex> lock(sessionMutex_);
    const auto left = std::max<std::int64_t>(0, result.deadlineMs - context().clock());
    if (!renewed_.wait_for(lock, std::chrono::milliseconds(left), [&] { return !renewing_; })) {
        result.failure = "out of time";
        return false;
    }
    if (!crumb_.empty() && crumb_ != refused) {
        cookie = cookie_;
        crumb = crumb_;
        return true;
    }
    if (context().clock() < crumbPauseUntilMs_) {  // no crumb call into a throttle
        result.failure = "the crumb call was throttled";
        result.throttled = true;
        return false;
    }
    renewing_ = true;
    cookie_.clear();
    crumb_.clear();
    lock.unlock();
    // The renewal ends whatever its calls do, so that no request waits on it forever.
    struct Renewal {
        YahooSource& source;
        ~Renewal() {
            std::lock_guard<std::mutex> done(source.sessionMutex_);
            source.renewing_ = false;
            source.renewed_.notify_all();
        }
    } renewal{*this};
    std::string newCookie, newCrumb;
    if (!NewSession(newCookie, newCrumb, result)) {
        if (result.throttled) {
            const std::int64_t pauseMs = std::max<std::int64_t>(
                kCrumbPauseMs, result.retryAfterSeconds.value_or(0) * 1000LL);
            std::lock_guard<std::mutex> pause(sessionMutex_);
            crumbPauseUntilMs_ = context().clock() + std::min(pauseMs, kLongestBackoffMs);
        }
        return false;
    }
    std::lock_guard<std::mutex> keep(sessionMutex_);
    cookie = cookie_ = newCookie;
    crumb = crumb_ = newCrumb;
    return true;
}

}  // namespace quotes
