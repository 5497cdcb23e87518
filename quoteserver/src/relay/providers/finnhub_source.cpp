#include "common/market_time.h"
#include "common/number_text.h"
#include "pages/news_page.h"
#include "pages/symbol_pages.h"
#include "relay/json_fields.h"
#include "relay/providers/keyed_sources.h"
#include "relay/source_symbols.h"

namespace quotes {
namespace {

using json::Json;

constexpr std::int64_t kProfileMs = 24 * 3600 * 1000;
constexpr std::size_t kFinnhubBatch = 8;  // quote calls made at once

// Finnhub answers an unknown symbol with zeros.
bool Known(const Json& q) {
    return json::Number(q, "c").value_or(0) != 0 || json::Integer(q, "t").value_or(0) != 0;
}

LiveQuote FromQuote(const Json& q) {
    LiveQuote live;
    live.currency = "USD";
    live.last = json::Number(q, "c");
    live.change = json::Number(q, "d");
    live.changePercent = json::Number(q, "dp");
    live.dayHigh = json::Number(q, "h");
    live.dayLow = json::Number(q, "l");
    live.open = json::Number(q, "o");
    live.previousClose = json::Number(q, "pc");
    live.tradeTime = json::Integer(q, "t");
    if (live.tradeTime) live.utcOffsetSeconds = NewYorkOffsetSeconds(*live.tradeTime);
    return live;
}

// Whether the US market is in a session at `utc` and its quotes should be of today's: weekdays,
// 9:30 to 16:00 in New York. Holidays are not known here: a holiday's quote reads as stale, so
// the next source is asked first, and the quote is still served when none answers.
std::optional<std::int64_t> SessionOpenedAt(std::int64_t utc) {
    const std::int64_t local = utc + NewYorkOffsetSeconds(utc);
    const std::int64_t day = DayOf(local);
    const std::int64_t second = local - day * 86400;
    const int weekday = Weekday(day);
    if (weekday == 0 || weekday == 6 || second < 9 * 3600 + 30 * 60 || second >= 16 * 3600)
        return std::nullopt;
    return utc - (second - (9 * 3600 + 30 * 60));
}

// A free key is refused for some listings: that symbol is for the next source, not unknown,
// and no reason to back off for the others.
bool NoAccess(const UpstreamResponse& r) {
    return r.status == 403 && r.body.find("access") != std::string::npos;
}

}  // namespace

std::string UsExchangeCode(const std::string& words) {
    const std::string upper = UpperCase(words);
    if (upper.find("NASDAQ") != std::string::npos) return "NMS";
    if (upper.find("NEW YORK") != std::string::npos || upper == "NYSE") return "NYQ";
    if (upper.find("OTC") != std::string::npos) return "PNK";
    return "";
}

FinnhubSource::FinnhubSource(RelayContext context, std::string base, std::string key,
                             int callsPerMinute)
    : LiveSource(std::string(kName), std::move(context), callsPerMinute, kFinnhubBatch),
      base_(std::move(base)),
      key_(std::move(key)) {}

std::string FinnhubSource::SourceSymbol(const std::string& requested) const {
    return UsListingSymbol(requested);
}

UpstreamRequest FinnhubSource::Request(const std::string& path, const std::string& symbol) const {
    return {base_ + path + "?symbol=" + UrlEncode(symbol), {"X-Finnhub-Token: " + key_}};
}

void FinnhubSource::FetchProfiles(const std::vector<std::string>& symbols,
                                  std::int64_t deadlineMs) {
    std::vector<std::string> stale;
    {
        std::lock_guard<std::mutex> lock(profileMutex_);
        const std::int64_t now = context().clock();
        for (const std::string& s : symbols) {
            const auto p = profiles_.find(s);
            if (p == profiles_.end() || now - p->second.fetchedMs > kProfileMs) stale.push_back(s);
        }
    }
    if (stale.empty()) return;
    std::vector<UpstreamRequest> requests;
    for (const std::string& s : stale) requests.push_back(Request("/api/v1/stock/profile2", s));
    const std::vector<UpstreamResponse> answers = Call(requests, "profile", 1, deadlineMs);
    std::lock_guard<std::mutex> lock(profileMutex_);
    for (std::size_t i = 0; i < stale.size(); ++i) {
        if (answers[i].status != 200) continue;
        const Json p = json::Parse(answers[i].body);
        if (!p.is_object()) continue;
        Profile& profile = profiles_[stale[i]];
        profile.name = json::Text(p, "name");
        profile.currency = json::Text(p, "currency");
        profile.exchange = UsExchangeCode(json::Text(p, "exchange"));
        const auto cap = json::Number(p, "marketCapitalization");  // millions
        const auto shares = json::Number(p, "shareOutstanding");   // millions
        profile.marketCap = cap ? std::optional<double>(*cap * 1e6) : std::nullopt;
        profile.shares = shares ? std::optional<double>(*shares * 1e6) : std::nullopt;
        profile.fetchedMs = context().clock();
    }
}

void FinnhubSource::Fetch(const std::vector<std::string>& symbols, FetchResult& result) {
    std::vector<UpstreamRequest> requests;
    for (const std::string& s : symbols) requests.push_back(Request("/api/v1/quote", s));
    const std::vector<UpstreamResponse> answers = Call(requests, "quote", 1, result);
    std::vector<std::string> known;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (NoAccess(answers[i])) continue;
        if (answers[i].status == 401 || answers[i].status == 403)
            Failed(&result, "the key was refused");
        if (answers[i].status != 200) continue;
        const Json q = json::Parse(answers[i].body);
        if (!q.is_object() || !json::Field(q, "c")) {
            Failed(&result, "the quote answer was not a quote");
            continue;
        }
        if (!Known(q)) {
            result.unknown.insert(symbols[i]);
            continue;
        }
        result.quotes[symbols[i]] = FromQuote(q);
        known.push_back(symbols[i]);
        // The last session's quote while a session runs: Finnhub serves it now and then.
        const auto opened = SessionOpenedAt(result.utcSeconds);
        if (opened && json::Integer(q, "t").value_or(0) < *opened) result.stale.insert(symbols[i]);
    }
    if (known.empty()) return;
    FetchProfiles(known, result.deadlineMs);
    std::lock_guard<std::mutex> lock(profileMutex_);
    for (const std::string& s : known) {
        const auto p = profiles_.find(s);
        if (p == profiles_.end()) continue;
        LiveQuote& live = result.quotes[s];
        live.name = p->second.name;
        if (!p->second.currency.empty()) live.currency = p->second.currency;
        live.exchange = p->second.exchange;
        live.marketCap = p->second.marketCap;
        live.sharesOutstanding = p->second.shares;
    }
}

namespace {

constexpr std::int64_t kNewsMs = 5 * 60 * 1000;
constexpr std::int64_t kNewsDays = 7;

std::string IsoDay(std::int64_t utc) {
    std::string text;
    AppendIsoDate(text, CivilFromDays(DayOf(utc)));
    return text;
}

// Company news: an array of {datetime, headline, source, summary, url}, newest first.
std::optional<std::vector<NewsItem>> NewsItems(const std::string& body) {
    const Json list = json::Parse(body);
    if (!list.is_array()) return std::nullopt;
    std::vector<NewsItem> items;
    for (const Json& entry : list) {
        if (items.size() >= kMostHeadlines) break;
        if (!entry.is_object()) continue;
        NewsItem item;
        const std::int64_t utc = json::Integer(entry, "datetime").value_or(0);
        item.localSeconds = utc > 0 ? utc + NewYorkOffsetSeconds(utc) : 0;
        item.title = TextOfHtml(json::Text(entry, "headline"));
        item.publisher = TextOfHtml(json::Text(entry, "source"));
        item.link = json::Text(entry, "url");
        item.summary = TextOfHtml(json::Text(entry, "summary"));
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

PageAnswer FinnhubSource::Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds,
                               std::int64_t deadlineMs) {
    const std::string requested(symbol), mapped = SourceSymbol(requested);
    if (page != PageKind::news || mapped.empty()) return {};
    NoteAsked(utcSeconds);
    const std::string origin =
        "Finnhub, through the Tickwell quote service, " + UtcClockText(utcSeconds) + ".";
    UpstreamRequest ask = Request("/api/v1/company-news", mapped);
    ask.url += "&from=" + IsoDay(utcSeconds - kNewsDays * 86400) + "&to=" + IsoDay(utcSeconds);
    const UpstreamResponse got = PageCall(ask, "news", deadlineMs, kNewsMs);
    std::optional<std::vector<NewsItem>> items =
        got.status == 200 ? NewsItems(got.body) : std::nullopt;
    if (!items) {
        const std::string why = got.status ? "status " + std::to_string(got.status) : "no answer";
        return {AnswerKind::none,
                NoNewsPage(requested, "Finnhub's company news could not be had (" + why + ").",
                           origin)};
    }
    const NewsFacts facts{requested, "", std::move(*items), "New York time", origin};
    return {AnswerKind::quote, NewsPageHtml(facts)};
}

}  // namespace quotes
