// Yahoo Finance, no key: a session of cookie and crumb, quotes for up to 50 symbols in one v7
// call, the chart endpoint for each symbol when v7 fails, and table.csv history from charts.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>

#include "relay/live_source.h"

namespace quotes {

struct YahooHosts {
    std::string cookie = "https://fc.yahoo.com";
    std::string home = "https://finance.yahoo.com";  // the cookie's second place
    std::string query = "https://query1.finance.yahoo.com";
    std::string query2 = "https://query2.finance.yahoo.com";  // the crumb's second place
    std::string pages = "https://finance.yahoo.com";  // the site: the calls' Origin and Referer
    std::string feeds = "https://feeds.finance.yahoo.com";  // the headline feed
};

// A symbol's headlines are asked again after this long at the soonest.
inline constexpr std::int64_t kYahooNewsMs = 5 * 60 * 1000;

// How many redirects the cookie and consent calls follow.
inline constexpr int kYahooMostRedirects = 5;

inline constexpr int kYahooCallsPerMinute = 30;
inline constexpr std::size_t kYahooBatch = 50;
// After a throttled crumb call, no other for at least this long.
inline constexpr std::int64_t kCrumbPauseMs = 60 * 1000;

class YahooSource final : public LiveSource {
public:
    static constexpr std::string_view kName = "yahoo";

    YahooSource(RelayContext context, YahooHosts hosts, int callsPerMinute = kYahooCallsPerMinute);

    HistoryAnswer History(std::string_view query, std::int64_t utcSeconds,
                          std::int64_t deadlineMs) override;
    PageAnswer Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds,
                    std::int64_t deadlineMs) override;

protected:
    std::string SourceSymbol(const std::string& requested) const override;
    void Fetch(const std::vector<std::string>& symbols, FetchResult& result) override;
    std::string ReachUrl() const override { return hosts_.query; }

private:
    // The cookie and crumb, made anew when there are none or when the crumb is still `refused`
    // (another request may have renewed it meanwhile); false when no session could be had. One
    // renewal runs at a time, outside the lock; the others wait for it by their deadline.
    bool Session(const std::string& refused, std::string& cookie, std::string& crumb,
                 FetchResult& result);
    // The session's cookie and crumb when there is one and no renewal runs, else nothing: pages
    // and histories make no session of their own.
    void HeldSession(std::string& cookie, std::string& crumb);
    // A new session: the cookie from fc.yahoo.com, else from the site's home page, and the
    // crumb for it from query1, else from query2. False when none could be had.
    bool NewSession(std::string& cookie, std::string& crumb, FetchResult& result);
    // The cookies a page sets, through its redirects and its consent wall ("" for none).
    std::string CookieFrom(const std::string& page, FetchResult& result);
    // The crumb for the cookie from one query host; "" when it refused or was throttled.
    std::string CrumbFrom(const std::string& host, const std::string& cookie, FetchResult& result);
    // One v7 call; its status (0: no answer), with `result` filled when the body was read.
    int QuoteCall(const std::vector<std::string>& symbols, const std::string& cookie,
                  const std::string& crumb, FetchResult& result);
    // One chart call a symbol, in the session (its cookie and crumb) when there is one; the
    // symbols answered longest ago first, for the calls the limit allows.
    void ChartFallback(std::vector<std::string> symbols, const std::string& cookie,
                       const std::string& crumb, FetchResult& result);

    PageAnswer ChartPage(const std::string& requested, const std::string& mapped,
                         std::int64_t utcSeconds, std::int64_t deadlineMs);
    PageAnswer NewsPage(const std::string& requested, const std::string& mapped,
                        std::int64_t utcSeconds, std::int64_t deadlineMs);
    PageAnswer SummaryPage(std::int64_t utcSeconds, std::int64_t deadlineMs);
    // Today's chart call of a page, kept a minute.
    UpstreamResponse DayChart(const std::string& mapped, std::int64_t deadlineMs);
    // A chart call of a page for `range` ("?range=..."), in the session when there is one.
    UpstreamRequest ChartCall(const std::string& mapped, const char* range);

    const YahooHosts hosts_;
    std::mutex sessionMutex_;  // guards the three below
    std::condition_variable renewed_;
    bool renewing_ = false;
    std::string cookie_, crumb_;
    std::int64_t crumbPauseUntilMs_ = 0;  // no crumb call before, after a throttled one
};

}  // namespace quotes
