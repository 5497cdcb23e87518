#include "relay/live_source.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <utility>

#include "common/number_text.h"
#include "protocol/quote_line.h"
#include "relay/live_values.h"

namespace quotes {
namespace {

bool Failing(const UpstreamResponse& r) {
    return r.status == 0 || r.status == 429 || r.status >= 500;
}

// A 429, or an HTML page or throttling text where data was asked for.
bool Throttling(const UpstreamRequest& request, const UpstreamResponse& r) {
    if (r.status == 429) return true;
    if (r.status != 200 || request.page) return false;
    const std::size_t first = r.body.find_first_not_of(" \t\r\n");
    return (first != std::string::npos && r.body[first] == '<') ||
           r.body.find("Too Many Requests") != std::string::npos;
}

// "14:02" of a UTC time.
std::string UtcClock(std::int64_t utcSeconds) {
    const std::int64_t minutes = ((utcSeconds % 86400) + 86400) % 86400 / 60;
    std::string text;
    AppendDigits(text, static_cast<unsigned long long>(minutes / 60), 2);
    text += ':';
    AppendDigits(text, static_cast<unsigned long long>(minutes % 60), 2);
    return text;
}

}  // namespace

LiveSource::LiveSource(std::string name, RelayContext context, int callsPerMinute,
                       std::size_t batchSize)
    : name_(std::move(name)),
      context_(std::move(context)),
      batchSize_(std::max<std::size_t>(1, batchSize)),
      bucket_(callsPerMinute) {}

bool LiveSource::Fresh(const Entry& entry, std::int64_t nowMs) const {
    return nowMs - entry.fetchedMs <= std::int64_t{context_.maxAgeSeconds} * 1000;
}

void LiveSource::Log(const std::string& line) const {
    if (context_.log) context_.log(line);
}

void LiveSource::Claim(const std::vector<std::string>& wanted, Freshness freshness,
                       std::vector<std::string>& mine, std::vector<std::string>& theirs) {
    if (freshness != Freshness::fresh) return;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::int64_t now = context_.clock();
    for (const std::string& s : wanted) {
        if (s.empty()) continue;
        const auto entry = cache_.find(s);
        if (entry != cache_.end() && Fresh(entry->second, now)) continue;
        if (inFlight_.count(s)) {
            theirs.push_back(s);
        } else if (std::find(mine.begin(), mine.end(), s) == mine.end()) {
            mine.push_back(s);
            inFlight_.insert(s);
        }
    }
}

void LiveSource::Release(const std::vector<std::string>& mine) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::string& s : mine) inFlight_.erase(s);
    fetched_.notify_all();
}

void LiveSource::Answer(const std::vector<std::string>& symbols,
                        const std::vector<std::string>& tags, std::int64_t utcSeconds,
                        Freshness freshness, std::int64_t deadlineMs, QuoteAnswers& answers) {
    NoteAsked(utcSeconds);
    std::vector<std::string> wanted(symbols.size());
    for (std::size_t i = 0; i < symbols.size(); ++i) wanted[i] = SourceSymbol(symbols[i]);

    std::vector<std::string> mine, theirs;  // to fetch here; being fetched by another request
    Claim(wanted, freshness, mine, theirs);
    // When the limits cut the fetch short, what waited longest is what gets fetched: a
    // portfolio larger than a minute's calls is answered whole in turns.
    NeediestFirst(mine);
    if (!mine.empty()) {
        // The claim ends whatever the fetch does, so no later request waits on it forever.
        struct Claimed {
            LiveSource& source;
            const std::vector<std::string>& symbols;
            ~Claimed() { source.Release(symbols); }
        } claimed{*this, mine};
        FetchAll(mine, utcSeconds, deadlineMs);
    }

    std::vector<std::pair<std::size_t, LiveQuote>> quotes;  // formatted once the lock is off
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!theirs.empty()) {
            const auto left = std::max<std::int64_t>(0, deadlineMs - context_.clock());
            fetched_.wait_for(lock, std::chrono::milliseconds(left), [&] {
                return std::none_of(theirs.begin(), theirs.end(),
                                    [&](const std::string& s) { return inFlight_.count(s) > 0; });
            });
        }
        const std::int64_t now = context_.clock();
        for (std::size_t i = 0; i < symbols.size(); ++i) {
            if (wanted[i].empty()) {
                answers.SetUnknown(i);
                continue;
            }
            const auto entry = cache_.find(wanted[i]);
            if (entry == cache_.end()) continue;
            const bool fresh = Fresh(entry->second, now);
            if (freshness != Freshness::cachedOnly && (!fresh || entry->second.stale)) continue;
            if (entry->second.unknown) {
                if (fresh) answers.SetUnknown(i);
                continue;
            }
            ++hits_;
            quotes.emplace_back(i, entry->second.quote);
        }
    }
    const TagList resolved = ResolveTags(tags);
    for (const auto& [i, quote] : quotes) {
        answers.SetQuote(i, [&, i = i, &quote = quote](std::string& out) {
            AppendQuoteLine(out, symbols[i], LiveValues(quote), resolved);
        });
    }
}

void LiveSource::FetchAll(const std::vector<std::string>& symbols, std::int64_t utcSeconds,
                          std::int64_t deadlineMs) {
    for (std::size_t first = 0; first < symbols.size(); first += batchSize_) {
        const std::vector<std::string> batch(
            symbols.begin() + static_cast<std::ptrdiff_t>(first),
            symbols.begin() +
                static_cast<std::ptrdiff_t>(std::min(symbols.size(), first + batchSize_)));
        FetchResult result;
        result.deadlineMs = deadlineMs;
        result.utcSeconds = utcSeconds;
        // What was read before a throw is kept; the reason is logged and becomes the failure.
        try {
            Fetch(batch, result);
        } catch (const std::exception& error) {
            result.failure = std::string("the answer could not be read: ") + error.what();
            Log("upstream " + name_ + " " + result.failure);
        } catch (...) {
            result.failure = "the answer could not be read";
            Log("upstream " + name_ + " " + result.failure);
        }
        if (result.Empty() && !result.failure.empty() && AsksTooLong(result.retryAfterSeconds)) {
            Log("upstream " + name_ + " asked to wait " +
                std::to_string(*result.retryAfterSeconds) + " s; waiting " +
                std::to_string(kLongestBackoffMs / 1000) + " s");
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (!result.Empty()) {
            backoff_.Succeeded();
            if (!result.quotes.empty()) fallback_ = result.fallback;
        } else if (!result.failure.empty()) {
            backoff_.Failed(context_.clock(), result.retryAfterSeconds);
        }
        if (!result.failure.empty()) lastError_ = result.failure;
        Store(batch, result, context_.clock());
    }
}

void LiveSource::Store(const std::vector<std::string>& asked, const FetchResult& result,
                       std::int64_t nowMs) {
    if (cache_.size() + asked.size() > kMostCachedSymbols) {
        std::erase_if(cache_,
                      [&](const auto& e) { return e.second.unknown || !Fresh(e.second, nowMs); });
        if (cache_.size() + asked.size() > kMostCachedSymbols) cache_.clear();
    }
    for (const auto& [symbol, quote] : result.quotes) {
        const bool stale = result.stale.count(symbol) > 0;
        cache_[symbol] = Entry{false, stale, quote, nowMs};
        staleQuotes_ += stale;
    }
    for (const std::string& symbol : result.unknown) {
        cache_[symbol] = Entry{true, false, LiveQuote{}, nowMs};
    }
}

std::vector<UpstreamResponse> LiveSource::Call(const std::vector<UpstreamRequest>& requests,
                                               const char* what, std::size_t symbols,
                                               std::int64_t deadlineMs, FetchResult* noted) {
    std::vector<UpstreamResponse> responses(requests.size());
    std::vector<UpstreamRequest> allowed;
    std::vector<std::size_t> where;
    long budgetMs = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const std::int64_t now = context_.clock();
        budgetMs = static_cast<long>(std::clamp<std::int64_t>(deadlineMs - now, 0, 3'600'000));
        for (std::size_t i = 0; i < requests.size(); ++i) {
            if (budgetMs < kShortestCallMs) {
                responses[i].error = "out of time";
                if (noted) noted->failure = "out of time";
            } else if (backoff_.Waiting(now)) {
                responses[i].error = "backing off";
            } else if (now < quotaUntilMs_ || !bucket_.Take(now)) {
                responses[i].error = "rate limit reached";
            } else {
                allowed.push_back(requests[i]);
                where.push_back(i);
            }
        }
        calls_ += allowed.size();
    }
    if (allowed.empty()) return responses;
    std::vector<UpstreamResponse> got = context_.http->Fetch(allowed, budgetMs);
    for (const UpstreamResponse& r : got) {
        Log("upstream " + name_ + " " + what + " symbols=" + std::to_string(symbols) +
            " status=" + std::to_string(r.status) + " " + std::to_string(r.milliseconds) + "ms" +
            (r.error.empty() ? "" : " (" + r.error + ")"));
    }
    std::string unreachable, throttle;  // logged once the lock is off
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (std::size_t k = 0; k < got.size() && k < where.size(); ++k) {
            const UpstreamResponse& r = got[k];
            if (std::string told = NoteReach(allowed[k].url, r); !told.empty()) unreachable = told;
            if (std::string told = NoteThrottle(allowed[k], r); !told.empty()) throttle = told;
            NoteQuota(r);
            if (Failing(r)) {
                const std::string why = r.status ? "status " + std::to_string(r.status) : r.error;
                const auto retryAfter = r.status == 429 ? r.retryAfterSeconds : std::nullopt;
                if (noted) {
                    noted->failure = why;
                    if (retryAfter) noted->retryAfterSeconds = retryAfter;
                } else {
                    backoff_.Failed(context_.clock(), retryAfter);
                    lastError_ = why;
                }
            }
            responses[where[k]] = std::move(got[k]);
            responses[where[k]].called = true;
        }
    }
    TellUnreachable(unreachable);
    if (!throttle.empty()) Log(throttle);
    return responses;
}

void LiveSource::NoteQuota(const UpstreamResponse& response) {
    if (!response.rateLimitResetSeconds) return;
    if (response.status != 429 && response.rateLimitRemaining.value_or(1) > 0) return;
    const std::int64_t waitMs = std::clamp<std::int64_t>(
        (*response.rateLimitResetSeconds - askedUtc_) * 1000, 0, kLongestBackoffMs);
    quotaUntilMs_ = std::max(quotaUntilMs_, context_.clock() + waitMs);
}

std::string LiveSource::NoteThrottle(const UpstreamRequest& request,
                                     const UpstreamResponse& response) {
    const std::int64_t now = context_.clock();
    if (Throttling(request, response)) {
        if (throttledSinceMs_ < 0) {
            throttledSinceMs_ = now;
            throttledSinceUtc_ = askedUtc_;
        }
        // Blocked once a throttle answers a minute after the first: nothing came between.
        if (blocked_ || now - throttledSinceMs_ < kBlockedAfterMs) return {};
        blocked_ = true;
        return "upstream " + name_ + " blocked (throttled by the source since " +
               UtcClock(throttledSinceUtc_) + ")";
    }
    if (response.status != 200 || request.page) return {};
    throttledSinceMs_ = -1;
    if (!std::exchange(blocked_, false)) return {};
    return "upstream " + name_ + " answers again";
}

std::vector<std::pair<std::string, LiveQuote>> LiveSource::QuotedWithin(std::int64_t ms) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::int64_t now = context_.clock();
    std::vector<std::pair<std::string, LiveQuote>> quoted;
    for (const auto& [symbol, entry] : cache_) {
        if (!entry.unknown && now - entry.fetchedMs <= ms) quoted.emplace_back(symbol, entry.quote);
    }
    return quoted;
}

void LiveSource::NoteAsked(std::int64_t utcSeconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    askedUtc_ = utcSeconds;
}

const UpstreamResponse* LiveSource::KeptPage(const std::string& url) const {
    const auto kept = pageCalls_.find(url);
    const bool fresh =
        kept != pageCalls_.end() && context_.clock() - kept->second.fetchedMs < kept->second.keepMs;
    return fresh ? &kept->second.response : nullptr;
}

bool LiveSource::PageKept(const std::string& url) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return KeptPage(url) != nullptr;
}

UpstreamResponse LiveSource::PageCall(const UpstreamRequest& request, const char* what,
                                      std::int64_t deadlineMs, std::int64_t keepMs) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (const UpstreamResponse* kept = KeptPage(request.url)) {
            ++hits_;
            return *kept;
        }
    }
    UpstreamResponse got = Call({request}, what, 1, deadlineMs).front();
    if (got.status != 200 || got.body.size() > kMostKeptPageBody) return got;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::int64_t now = context_.clock();
    if (pageCalls_.size() >= kMostPageCalls) {
        std::erase_if(pageCalls_,
                      [&](const auto& e) { return now - e.second.fetchedMs >= e.second.keepMs; });
        if (pageCalls_.size() >= kMostPageCalls) pageCalls_.clear();
    }
    pageCalls_[request.url] = PageEntry{got, now, keepMs};
    return got;
}

void LiveSource::Failed(FetchResult* noted, const std::string& why) {
    if (noted) {
        noted->failure = why;
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    backoff_.Failed(context_.clock(), std::nullopt);
    lastError_ = why;
}

void LiveSource::Succeeded() {
    std::lock_guard<std::mutex> lock(mutex_);
    backoff_.Succeeded();
}

void LiveSource::NeediestFirst(std::vector<std::string>& symbols) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto answeredAt = [&](const std::string& s) {
        const auto entry = cache_.find(s);
        return entry == cache_.end() ? std::int64_t{-1} : entry->second.fetchedMs;
    };
    std::stable_sort(symbols.begin(), symbols.end(),
                     [&](const auto& a, const auto& b) { return answeredAt(a) < answeredAt(b); });
}

namespace {

// "query1.finance.yahoo.com" of "https://query1.finance.yahoo.com/v7/...".
std::string HostOf(const std::string& url) {
    const std::size_t scheme = url.find("://");
    const std::size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    const std::size_t end = url.find_first_of(":/?", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

constexpr long kReachCheckMs = 3000;

}  // namespace

std::string LiveSource::NoteReach(const std::string& url, const UpstreamResponse& response) {
    if (!response.unreachable) {
        if (response.status != 0 || response.error.empty()) {
            reach_ = Reach::reachable;
            toldUnreachable_ = false;
        }
        return {};
    }
    reach_ = Reach::unreachable;
    lastError_ = response.error;
    if (toldUnreachable_) return {};
    toldUnreachable_ = true;
    return name_ + " cannot reach " + HostOf(url) + " (" + response.error + ")";
}

// Said even with the request log off: it is why the viewer gets no quotes.
void LiveSource::TellUnreachable(const std::string& line) const {
    if (line.empty()) return;
    if (context_.log) {
        context_.log("upstream " + line);
    } else {
        std::fprintf(stderr, "tickwell-quotes: %s\n", line.c_str());
    }
}

void LiveSource::ExpectReachCheck() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ReachUrl().empty()) reach_ = Reach::checking;
}

void LiveSource::CheckReach() {
    const std::string url = ReachUrl();
    if (url.empty()) return;
    UpstreamRequest request;
    request.url = url;
    request.connectOnly = true;
    const std::vector<UpstreamResponse> got = context_.http->Fetch({request}, kReachCheckMs);
    std::string unreachable;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!got.empty() && got[0].unreachable) {
            unreachable = NoteReach(url, got[0]);
        } else if (reach_ == Reach::checking) {
            reach_ = Reach::reachable;  // or it timed out connected: a host that is there
        }
    }
    TellUnreachable(unreachable);
}

void LiveSource::Status(std::string& out) const {
    StatusLine(out);
    out += StatusNote() + "\n";
}

void LiveSource::StatusLine(std::string& out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::int64_t now = context_.clock();
    out += name_ + ": ";
    if (reach_ == Reach::checking) {
        out += "checking";
    } else if (reach_ == Reach::unreachable) {
        out += "unreachable";
    } else if (blocked_) {
        out += "blocked (throttled by the source since " + UtcClock(throttledSinceUtc_) + ")";
    } else if (backoff_.Waiting(now)) {
        out += "backing off for " + std::to_string((backoff_.until() - now + 999) / 1000) + " s";
    } else if (fallback_) {
        out += std::string("answering from its fallback (") + fallback_ + ")";
    } else {
        out += "ok";
    }
    out += ", last error: " + (lastError_.empty() ? std::string("none") : lastError_);
    out += ", calls " + std::to_string(calls_) + ", cache entries " +
           std::to_string(cache_.size()) + ", hits " + std::to_string(hits_);
    if (staleQuotes_ > 0) out += ", stale quotes " + std::to_string(staleQuotes_);
}

}  // namespace quotes
