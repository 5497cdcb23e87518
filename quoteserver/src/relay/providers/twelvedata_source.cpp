#include <algorithm>
#include <cstdio>

#include "common/market_time.h"
#include "pages/chart_page.h"
#include "pages/symbol_pages.h"
#include "relay/json_fields.h"
#include "relay/providers/keyed_sources.h"
#include "relay/source_symbols.h"

namespace quotes {
namespace {

using json::Json;

constexpr std::size_t kTwelveDataBatch = 8;

bool IsError(const Json& item) {
    return json::Text(item, "status") == "error";
}

// A per-symbol error naming the symbol (400 or 404) means the symbol is unknown; a key or limit
// error (401, 403, 429) is the source's failure.
bool UnknownSymbol(const Json& item) {
    const auto code = json::Integer(item, "code").value_or(0);
    return code == 400 || code == 404;
}

LiveQuote FromQuote(const Json& q) {
    LiveQuote live;
    live.name = json::Text(q, "name");
    live.currency = json::Text(q, "currency");
    live.exchange = UsExchangeCode(json::Text(q, "exchange"));
    live.last = json::Number(q, "close");
    live.open = json::Number(q, "open");
    live.dayHigh = json::Number(q, "high");
    live.dayLow = json::Number(q, "low");
    live.previousClose = json::Number(q, "previous_close");
    live.change = json::Number(q, "change");
    live.changePercent = json::Number(q, "percent_change");
    live.volume = json::Count(q, "volume");
    live.averageVolume = json::Count(q, "average_volume");
    if (const Json* year = json::Field(q, "fifty_two_week")) {
        live.yearLow = json::Number(*year, "low");
        live.yearHigh = json::Number(*year, "high");
    }
    live.tradeTime = json::Integer(q, "last_quote_at");
    if (!live.tradeTime) live.tradeTime = json::Integer(q, "timestamp");
    if (live.tradeTime) live.utcOffsetSeconds = NewYorkOffsetSeconds(*live.tradeTime);
    return live;
}

}  // namespace

TwelveDataSource::TwelveDataSource(RelayContext context, std::string base, std::string key,
                                   int callsPerMinute)
    : LiveSource(std::string(kName), std::move(context), callsPerMinute, kTwelveDataBatch),
      base_(std::move(base)),
      key_(std::move(key)) {}

std::string TwelveDataSource::SourceSymbol(const std::string& requested) const {
    return UsListingSymbol(requested);
}

void TwelveDataSource::Fetch(const std::vector<std::string>& all, FetchResult& result) {
    std::vector<std::string> symbols = all;
    NeediestFirst(symbols);
    int afforded = 0;
    {
        std::lock_guard<std::mutex> lock(creditMutex_);
        lastUtc_ = result.utcSeconds;
        afforded =
            credits_.Take(context().clock(), result.utcSeconds, static_cast<int>(symbols.size()));
    }
    if (afforded == 0) return;  // no credit left: the next source, or the stale answers
    symbols.resize(static_cast<std::size_t>(afforded));
    std::string list;
    for (const std::string& s : symbols) list += (list.empty() ? "" : ",") + UrlEncode(s);
    const UpstreamResponse r =
        Call({{base_ + "/quote?symbol=" + list, {"Authorization: apikey " + key_}}}, "quote",
             symbols.size(), result)
            .front();
    if (!r.called) {
        std::lock_guard<std::mutex> lock(creditMutex_);
        credits_.Refund(afforded);
    }
    if (r.status != 200) return;
    const Json body = json::Parse(r.body);
    // Out of credits, said with status 200: a 429, until the next minute.
    if (IsError(body) && json::Integer(body, "code").value_or(0) == 429) {
        {
            std::lock_guard<std::mutex> lock(creditMutex_);
            credits_.SpendMinute(context().clock());
        }
        result.retryAfterSeconds = static_cast<int>(60 - (result.utcSeconds % 60 + 60) % 60);
    }
    // One symbol is answered with its quote itself, several with an object keyed by symbol;
    // limits and bad keys come as an error object with status 200.
    if (!body.is_object() || (IsError(body) && !(symbols.size() == 1 && UnknownSymbol(body)))) {
        // The message is not kept: a source may quote the key it refused.
        Failed(&result, IsError(body) ? "refused with code " +
                                            std::to_string(json::Integer(body, "code").value_or(0))
                                      : "the answer was not a quote");
        return;
    }
    for (const std::string& s : symbols) {
        const Json* item = symbols.size() == 1 ? &body : json::Field(body, s.c_str());
        if (!item || !item->is_object()) continue;
        if (IsError(*item)) {
            if (UnknownSymbol(*item)) result.unknown.insert(s);
            continue;
        }
        LiveQuote quote = FromQuote(*item);
        if (quote.last) result.quotes[s] = std::move(quote);
    }
}

std::string TwelveDataSource::StatusNote() const {
    std::lock_guard<std::mutex> lock(creditMutex_);
    return ", credits " + std::to_string(credits_.UsedThisMinute(context().clock())) + " of " +
           std::to_string(kTwelveDataCreditsPerMinute) + " this minute, " +
           std::to_string(credits_.UsedToday(lastUtc_)) + " of " +
           std::to_string(kTwelveDataCreditsPerDay) + " today";
}

namespace {

constexpr std::int64_t kSeriesMs = 60 * 1000;

// "2026-12-09 15:55:00" or "2026-12-09", the exchange's time, as local seconds.
std::optional<std::int64_t> LocalSecondsOf(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const int read = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &year, &month, &day,
                                 &hour, &minute, &second);
    if (read != 3 && read < 5) return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    return DaysFromCivil({year, month, day}) * 86400 + hour * 3600 + minute * 60 + second;
}

// A time series' bars, oldest first (the source sends them newest first).
std::vector<PriceBar> SeriesBars(const Json& body) {
    std::vector<PriceBar> bars;
    const Json* values = json::Field(body, "values");
    if (!values || !values->is_array()) return bars;
    for (const Json& v : *values) {
        const auto at = LocalSecondsOf(json::Text(v, "datetime"));
        const auto close = json::Number(v, "close");
        if (!at || !close) continue;
        bars.push_back({*at, json::Number(v, "open").value_or(*close),
                        json::Number(v, "high").value_or(*close),
                        json::Number(v, "low").value_or(*close), *close,
                        json::Number(v, "volume").value_or(0)});
    }
    std::reverse(bars.begin(), bars.end());
    return bars;
}

// The page's figures from the bars: the last 5-minute close, the day's range and volume so far,
// the previous session's close, the year's range.
ChartFacts FactsOfSeries(const std::string& symbol, const Json& meta, std::vector<PriceBar> day,
                         std::vector<PriceBar> year) {
    ChartFacts f;
    f.symbol = symbol;
    f.exchange = json::Text(meta, "exchange");
    f.currency = json::Text(meta, "currency");
    if (!day.empty()) {  // one session: the last bar's day
        const std::int64_t last = day.back().localSeconds / 86400;
        std::erase_if(day, [&](const PriceBar& b) { return b.localSeconds / 86400 != last; });
        f.last = day.back().close;
        double low = day.front().low, high = day.front().high, volume = 0;
        for (const PriceBar& b : day)
            low = std::min(low, b.low), high = std::max(high, b.high), volume += b.volume;
        f.dayLow = low, f.dayHigh = high, f.volume = volume;
        f.sessionOpen = last * 86400 + 9 * 3600 + 30 * 60;  // US listings: 9:30 to 16:00
        f.sessionClose = last * 86400 + 16 * 3600;
        f.quoteTime = ClockText(day.back().localSeconds);
        if (year.size() >= 2 && year.back().localSeconds / 86400 == last)
            f.previousClose = year[year.size() - 2].close;
        else if (!year.empty())
            f.previousClose = year.back().close;
    }
    if (!year.empty()) {
        double low = year.front().low, high = year.front().high;
        for (const PriceBar& b : year) low = std::min(low, b.low), high = std::max(high, b.high);
        f.yearLow = low, f.yearHigh = high;
    }
    if (f.last && f.previousClose) {
        f.change = *f.last - *f.previousClose;
        if (*f.previousClose != 0) f.changePercent = *f.change / *f.previousClose * 100;
    }
    f.intraday = std::move(day);
    f.daily = std::move(year);
    return f;
}

}  // namespace

bool TwelveDataSource::TakeCredits(int credits, std::int64_t utcSeconds) {
    std::lock_guard<std::mutex> lock(creditMutex_);
    lastUtc_ = utcSeconds;
    const int taken = credits_.Take(context().clock(), utcSeconds, credits);
    if (taken == credits) return true;
    credits_.Refund(taken);
    return false;
}

PageAnswer TwelveDataSource::Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds,
                                  std::int64_t deadlineMs) {
    const std::string requested(symbol), mapped = SourceSymbol(requested);
    if (page != PageKind::chart || mapped.empty()) return {};
    NoteAsked(utcSeconds);
    const auto call = [&](const char* series) {
        return UpstreamRequest{base_ + "/time_series?symbol=" + UrlEncode(mapped) + series,
                               {"Authorization: apikey " + key_}};
    };
    const UpstreamRequest dayCall = call("&interval=5min&outputsize=78");
    const UpstreamRequest yearCall = call("&interval=1day&outputsize=252");
    // Two credits unless both answers are kept; the page waits for no credit.
    const bool kept = PageKept(dayCall.url) && PageKept(yearCall.url);
    if (!kept && !TakeCredits(2, utcSeconds)) return {};
    const UpstreamResponse day = PageCall(dayCall, "chart page", deadlineMs, kSeriesMs);
    const UpstreamResponse year = PageCall(yearCall, "chart page", deadlineMs, kSeriesMs);
    const Json dayBody = json::Parse(day.status == 200 ? day.body : "");
    const Json yearBody = json::Parse(year.status == 200 ? year.body : "");
    if (IsError(dayBody) && UnknownSymbol(dayBody))
        return {AnswerKind::unknown, UnknownSymbolPage(requested, "Twelve Data")};
    const Json* meta = json::Field(dayBody, "meta");
    if (!meta || !meta->is_object()) return {};
    ChartFacts facts = FactsOfSeries(requested, *meta, SeriesBars(dayBody), SeriesBars(yearBody));
    facts.origin =
        "Twelve Data, through the Tickwell quote service, " + UtcClockText(utcSeconds) + ".";
    return {AnswerKind::quote, ChartPageHtml(facts)};
}

}  // namespace quotes
