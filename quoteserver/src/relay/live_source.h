// What every live relay source shares: the cache of answers per source symbol, one upstream
// call for requests that arrive together, the call limits and back-off, and the status. A
// source of its own (yahoo_source.cpp, ...) says how symbols map and how a batch is fetched.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "relay/live_quote.h"
#include "relay/upstream_http.h"
#include "relay/upstream_limits.h"
#include "sources/quote_source.h"

namespace quotes {

struct RelayContext {
    UpstreamHttp* http = nullptr;
    MilliClock clock;
    std::function<void(const std::string&)> log;  // one line per upstream call; may be empty
    int maxAgeSeconds = 30;
};

// What fetching one batch brought, by source symbol, and what went wrong on the way.
struct FetchResult {
    std::map<std::string, LiveQuote> quotes;
    std::set<std::string> unknown;
    std::string failure;                   // the last failure ("" for none)
    std::optional<int> retryAfterSeconds;  // a 429's Retry-After
    bool throttled = false;                // the source refuses for load: no call adds to it
    // How the quotes came when the source's own quote call failed ("chart calls"); null when
    // they came from that call or there were none.
    const char* fallback = nullptr;
    std::int64_t deadlineMs = 0;  // the request's: no call of the fetch runs past it
    std::int64_t utcSeconds = 0;  // the request's time
    // Quotes older than they should be (the last session's while a session runs): kept for
    // when no other source answers, but the next source is asked first.
    std::set<std::string> stale;

    bool Empty() const { return quotes.empty() && unknown.empty(); }
};

inline constexpr std::size_t kMostCachedSymbols = 20000;
// What a page's calls answered is kept this long, so a page asked again costs no call.
inline constexpr std::int64_t kPageCallMs = 60 * 1000;
inline constexpr std::size_t kMostPageCalls = 64;
inline constexpr std::size_t kMostKeptPageBody = 512 * 1024;  // a larger answer is not kept
// A source whose every answer for this long was a throttle (429, or a page or throttling text
// where data was asked for) is blocked: /status says so, and the log once.
inline constexpr std::int64_t kBlockedAfterMs = 60 * 1000;
// A call with less time than this left before the request's deadline is not made.
inline constexpr std::int64_t kShortestCallMs = 500;

class LiveSource : public QuoteSource {
public:
    LiveSource(std::string name, RelayContext context, int callsPerMinute, std::size_t batchSize);

    std::string_view Name() const override { return name_; }
    bool Blocks() const override { return true; }
    void Answer(const std::vector<std::string>& symbols, const std::vector<std::string>& tags,
                std::int64_t utcSeconds, Freshness freshness, std::int64_t deadlineMs,
                QuoteAnswers& answers) override;
    HistoryAnswer History(std::string_view, std::int64_t, std::int64_t) override { return {}; }
    PageAnswer Page(PageKind, std::string_view, std::int64_t, std::int64_t) override { return {}; }
    void Status(std::string& out) const override;

    // Whether the source's host can be reached, found once at the start without a request
    // (a connection only): `/status` says "checking" from ExpectReachCheck until CheckReach
    // has its answer, then "unreachable" when there was none.
    void ExpectReachCheck();
    void CheckReach();

protected:
    // Where CheckReach connects: the source's API host ("" for no check).
    virtual std::string ReachUrl() const { return {}; }
    // The source's symbol for a requested one; "" where the source does not carry its exchange.
    virtual std::string SourceSymbol(const std::string& requested) const = 0;
    // Fetches a batch of at most `batchSize` source symbols through Call, by the result's
    // deadline.
    virtual void Fetch(const std::vector<std::string>& symbols, FetchResult& result) = 0;

    // Makes upstream calls within the limits and by the deadline, and logs each. A call the
    // limits or the deadline do not allow now is not made: it answers status 0. A failing
    // status (429, 5xx) or no answer is noted in `noted`: a fetch that brings nothing and noted
    // a failure backs the source off. Without `noted` (history) the source backs off at once.
    std::vector<UpstreamResponse> Call(const std::vector<UpstreamRequest>& requests,
                                       const char* what, std::size_t symbols,
                                       std::int64_t deadlineMs, FetchResult* noted = nullptr);
    std::vector<UpstreamResponse> Call(const std::vector<UpstreamRequest>& requests,
                                       const char* what, std::size_t symbols, FetchResult& noted) {
        return Call(requests, what, symbols, noted.deadlineMs, &noted);
    }
    // The quotes the source fetched within the last `ms`, by source symbol.
    std::vector<std::pair<std::string, LiveQuote>> QuotedWithin(std::int64_t ms) const;
    // A call for a page: an answer of status 200 is kept kPageCallMs by its address, and a
    // call to the same address within that time is answered from it.
    UpstreamResponse PageCall(const UpstreamRequest& request, const char* what,
                              std::int64_t deadlineMs, std::int64_t keepMs = kPageCallMs);
    // The time of the request a page is drawn for, against which quota resets are read.
    void NoteAsked(std::int64_t utcSeconds);
    // Whether PageCall would answer `url` from what it keeps.
    bool PageKept(const std::string& url) const;
    // An answer that is not what this source sends (a consent page, a throttling text, a cut
    // body, a refused key) fails as a failing status does.
    void Failed(FetchResult* noted, const std::string& why);
    void Succeeded();
    // Orders symbols by need, for calls the limits may not all allow: those never answered
    // first, then those answered longest ago.
    void NeediestFirst(std::vector<std::string>& symbols) const;
    const RelayContext& context() const { return context_; }
    // What a source adds to its /status line (", credits ..."), the lock not held.
    virtual std::string StatusNote() const { return {}; }

private:
    struct Entry {
        bool unknown = false;
        bool stale = false;
        LiveQuote quote;
        std::int64_t fetchedMs = 0;
    };
    bool Fresh(const Entry& entry, std::int64_t nowMs) const;
    void Store(const std::vector<std::string>& asked, const FetchResult& result,
               std::int64_t nowMs);
    void FetchAll(const std::vector<std::string>& symbols, std::int64_t utcSeconds,
                  std::int64_t deadlineMs);
    // A source's call quota from its headers (the lock held): no call before the reset when
    // none is left, or when a 429 says when it ends.
    void NoteQuota(const UpstreamResponse& response);
    // Claims the symbols to fetch, and notes those another request is fetching.
    void Claim(const std::vector<std::string>& wanted, Freshness freshness,
               std::vector<std::string>& mine, std::vector<std::string>& theirs);
    void Release(const std::vector<std::string>& mine);
    void Log(const std::string& line) const;
    void StatusLine(std::string& out) const;  // the state, the error and the counts
    // A page call's kept answer while it is fresh, or null (the lock held).
    const UpstreamResponse* KeptPage(const std::string& url) const;
    // A call's answer says whether the host was reached (the lock held); the first miss gives
    // the line to log, naming the host, which TellUnreachable writes once the lock is off.
    std::string NoteReach(const std::string& url, const UpstreamResponse& response);
    void TellUnreachable(const std::string& line) const;
    // What an answer says of a throttle (the lock held): it starts or goes on with a throttle,
    // or an answer with data ends it. The line to log when that blocks or frees the source.
    std::string NoteThrottle(const UpstreamRequest& request, const UpstreamResponse& response);

    enum class Reach { unknown, checking, reachable, unreachable };

    const std::string name_;
    const RelayContext context_;
    const std::size_t batchSize_;

    mutable std::mutex mutex_;  // guards everything below
    std::condition_variable fetched_;
    std::map<std::string, Entry> cache_;
    std::set<std::string> inFlight_;
    TokenBucket bucket_;
    Backoff backoff_;
    std::string lastError_;
    const char* fallback_ = nullptr;      // the last fetch that brought quotes answered so
    std::int64_t askedUtc_ = 0;           // the last request's time, for the lines below
    std::int64_t throttledSinceMs_ = -1;  // the first throttle of those since the last data
    std::int64_t throttledSinceUtc_ = 0;
    bool blocked_ = false;  // a throttle came a minute or more after the first, none between
    std::uint64_t calls_ = 0, hits_ = 0, staleQuotes_ = 0;
    std::int64_t quotaUntilMs_ = 0;  // no call before: the source's own quota is spent
    struct PageEntry {
        UpstreamResponse response;
        std::int64_t fetchedMs = 0, keepMs = 0;
    };
    std::map<std::string, PageEntry> pageCalls_;  // by address
    Reach reach_ = Reach::unknown;
    bool toldUnreachable_ = false;  // the log has said so since the host was last reached
};

}  // namespace quotes
