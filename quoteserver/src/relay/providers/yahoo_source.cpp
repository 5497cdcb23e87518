#include "relay/providers/yahoo_source.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <set>

#include "common/market_time.h"
#include "common/number_text.h"
#include "pages/summary_page.h"
#include "pages/symbol_pages.h"
#include "protocol/history_query.h"
#include "protocol/quote_request.h"
#include "relay/json_fields.h"
#include "relay/providers/rss_feed.h"
#include "relay/providers/yahoo_chart_json.h"
#include "relay/providers/yahoo_chart_page.h"
#include "relay/providers/yahoo_headers.h"
#include "relay/providers/yahoo_spark.h"
#include "relay/source_symbols.h"

namespace quotes {
namespace {

using json::Json;

constexpr const char* kYahooOrigin = "Yahoo Finance, through the Tickwell quote service";
constexpr std::int64_t kMoversWithinMs = 60 * 60 * 1000;

// A quote's change in percent: the source's, else from its price and previous close.
std::optional<double> ChangePercentOf(const LiveQuote& q) {
    if (q.changePercent) return q.changePercent;
    if (q.last && q.previousClose && *q.previousClose != 0)
        return (*q.last - *q.previousClose) / *q.previousClose * 100;
    return std::nullopt;
}

int Decimals(const Json& object, const char* key) {
    return static_cast<int>(std::clamp<std::int64_t>(json::Integer(object, key).value_or(2), 2, 4));
}

std::string NameOf(const Json& object) {
    std::string name = json::Text(object, "longName");
    return name.empty() ? json::Text(object, "shortName") : name;
}

// What a v7 quote and a chart's meta both hold, under the same names (the exchange's code
// is named differently in each).
LiveQuote RegularMarket(const Json& q, const char* exchangeKey) {
    LiveQuote live;
    live.name = NameOf(q);
    live.currency = json::Text(q, "currency");
    live.exchange = json::Text(q, exchangeKey);
    live.decimals = Decimals(q, "priceHint");
    live.last = json::Number(q, "regularMarketPrice");
    live.dayHigh = json::Number(q, "regularMarketDayHigh");
    live.dayLow = json::Number(q, "regularMarketDayLow");
    live.yearHigh = json::Number(q, "fiftyTwoWeekHigh");
    live.yearLow = json::Number(q, "fiftyTwoWeekLow");
    live.volume = json::Count(q, "regularMarketVolume");
    live.tradeTime = json::Integer(q, "regularMarketTime");
    return live;
}

// One element of v7's quoteResponse.result. Regular-market fields only.
LiveQuote FromV7(const Json& q) {
    LiveQuote live = RegularMarket(q, "exchange");
    live.previousClose = json::Number(q, "regularMarketPreviousClose");
    live.open = json::Number(q, "regularMarketOpen");
    live.change = json::Number(q, "regularMarketChange");
    live.changePercent = json::Number(q, "regularMarketChangePercent");  // already in percent
    live.bid = json::Number(q, "bid");
    live.ask = json::Number(q, "ask");
    live.average50 = json::Number(q, "fiftyDayAverage");
    live.average200 = json::Number(q, "twoHundredDayAverage");
    live.eps = json::Number(q, "epsTrailingTwelveMonths");
    live.epsThisYear = json::Number(q, "epsCurrentYear");
    live.epsNextYear = json::Number(q, "epsForward");
    live.bookValue = json::Number(q, "bookValue");
    live.dividend = json::Number(q, "dividendRate");
    if (!live.dividend) live.dividend = json::Number(q, "trailingAnnualDividendRate");
    live.dividendYield = json::Number(q, "dividendYield");  // already in percent
    live.marketCap = json::Number(q, "marketCap");
    live.priceEarnings = json::Number(q, "trailingPE");
    live.sharesOutstanding = json::Number(q, "sharesOutstanding");
    live.averageVolume = json::Count(q, "averageDailyVolume3Month");
    live.utcOffsetSeconds =
        static_cast<int>(json::Integer(q, "gmtOffSetMilliseconds").value_or(0) / 1000);
    live.dividendDate = json::Integer(q, "dividendDate");
    live.exDividendDate = json::Integer(q, "exDividendDate");
    return live;
}

// The closes of a chart, oldest first, nulls left out.
std::vector<double> Closes(const Json& result) {
    std::vector<double> closes;
    const Json* close = ChartSeries(result, "quote", "close");
    for (std::size_t i = 0; close && i < close->size(); ++i) {
        if (const auto value = SeriesAt(close, i)) closes.push_back(*value);
    }
    return closes;
}

// A chart's meta as a quote: price, day and year ranges, volume; the previous close is the
// second-to-last daily close (chartPreviousClose is the close before the whole range).
LiveQuote FromChart(const Json& result) {
    const Json empty = Json::object();
    const Json* metaField = json::Field(result, "meta");
    const Json& meta = metaField ? *metaField : empty;
    LiveQuote live = RegularMarket(meta, "exchangeName");
    live.utcOffsetSeconds = static_cast<int>(json::Integer(meta, "gmtoffset").value_or(0));
    const std::vector<double> closes = Closes(result);
    if (closes.size() >= 2) live.previousClose = closes[closes.size() - 2];
    return live;
}

// The crumb as a chart call's query key, when the session has one.
std::string CrumbKey(const std::string& crumb) {
    return crumb.empty() ? std::string() : "&crumb=" + UrlEncode(crumb);
}

}  // namespace

YahooSource::YahooSource(RelayContext context, YahooHosts hosts, int callsPerMinute)
    : LiveSource(std::string(kName), std::move(context), callsPerMinute, kYahooBatch),
      hosts_(std::move(hosts)) {}

std::string YahooSource::SourceSymbol(const std::string& requested) const {
    return YahooSymbol(requested);
}

int YahooSource::QuoteCall(const std::vector<std::string>& symbols, const std::string& cookie,
                           const std::string& crumb, FetchResult& result) {
    std::string list;
    for (const std::string& s : symbols) list += (list.empty() ? "" : ",") + UrlEncode(s);
    UpstreamRequest request{
        hosts_.query + "/v7/finance/quote?symbols=" + list + "&crumb=" + UrlEncode(crumb),
        YahooApiHeaders(hosts_.pages, cookie)};
    const UpstreamResponse r = Call({request}, "v7", symbols.size(), result).front();
    if (r.status != 200) return r.status;
    const Json body = json::Parse(r.body);
    const Json* response = json::Field(body, "quoteResponse");
    const Json* items = response ? json::Field(*response, "result") : nullptr;
    if (!items || !items->is_array()) {
        Failed(&result, "v7 answered no quotes");
        return 0;
    }
    std::set<std::string> listed;
    bool foreign = false;  // a symbol nobody asked for: the answer spells some otherwise
    for (const Json& item : *items) {
        const std::string symbol = UpperCase(json::Text(item, "symbol"));
        if (std::find(symbols.begin(), symbols.end(), symbol) == symbols.end()) {
            foreign = true;
            continue;
        }
        listed.insert(symbol);
        LiveQuote quote = FromV7(item);
        if (quote.last) result.quotes[symbol] = std::move(quote);
    }
    // v7 leaves out what it does not know. A symbol it lists without a price, or one it may
    // have spelled otherwise, is no answer: the next source is asked, the cache keeps its quote.
    for (const std::string& s : symbols) {
        if (!result.quotes.count(s) && !listed.count(s) && !foreign) result.unknown.insert(s);
    }
    if (result.Empty()) Failed(&result, "v7 answered no prices");
    return 200;
}

void YahooSource::ChartFallback(std::vector<std::string> symbols, const std::string& cookie,
                                const std::string& crumb, FetchResult& result) {
    NeediestFirst(symbols);
    std::vector<UpstreamRequest> requests;
    for (const std::string& s : symbols) {
        requests.push_back({hosts_.query + "/v8/finance/chart/" + UrlEncode(s) +
                                "?range=5d&interval=1d" + CrumbKey(crumb),
                            YahooApiHeaders(hosts_.pages, cookie)});
    }
    const std::vector<UpstreamResponse> answers = Call(requests, "chart", 1, result);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (answers[i].status == 404) result.unknown.insert(symbols[i]);
        if (answers[i].status != 200) continue;
        const Json body = json::Parse(answers[i].body);
        const Json* chart = ChartResult(body);
        if (!chart) {
            Failed(&result, "the chart answered no quote");
            continue;
        }
        LiveQuote quote = FromChart(*chart);
        if (!quote.last) continue;
        result.quotes[symbols[i]] = std::move(quote);
        result.fallback = "chart calls";
    }
}

void YahooSource::Fetch(const std::vector<std::string>& symbols, FetchResult& result) {
    std::string cookie, crumb;
    if (Session("", cookie, crumb, result)) {
        int status = QuoteCall(symbols, cookie, crumb, result);
        const std::string refused = crumb;
        if (status == 401 && Session(refused, cookie, crumb, result)) {
            status = QuoteCall(symbols, cookie, crumb, result);
        }
        if (status == 200) return;
        if (status == 429) return;  // the source backs off; the chart would only add calls
    }
    // A throttled crumb is a throttle too: 50 chart calls would only add to it.
    if (result.throttled) return;
    ChartFallback(symbols, cookie, crumb, result);
}

PageAnswer YahooSource::Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds,
                             std::int64_t deadlineMs) {
    const std::string requested(symbol), mapped = YahooSymbol(requested);
    NoteAsked(utcSeconds);
    if (page == PageKind::chart) return ChartPage(requested, mapped, utcSeconds, deadlineMs);
    if (page == PageKind::news) return NewsPage(requested, mapped, utcSeconds, deadlineMs);
    return SummaryPage(utcSeconds, deadlineMs);
}

UpstreamResponse YahooSource::DayChart(const std::string& mapped, std::int64_t deadlineMs) {
    return PageCall(ChartCall(mapped, "?range=1d&interval=5m"), "chart page", deadlineMs);
}

void YahooSource::HeldSession(std::string& cookie, std::string& crumb) {
    std::lock_guard<std::mutex> lock(sessionMutex_);
    if (!renewing_) cookie = cookie_, crumb = crumb_;
}

UpstreamRequest YahooSource::ChartCall(const std::string& mapped, const char* range) {
    std::string cookie, crumb;
    HeldSession(cookie, crumb);
    return {hosts_.query + "/v8/finance/chart/" + UrlEncode(mapped) + range + CrumbKey(crumb),
            YahooApiHeaders(hosts_.pages, cookie)};
}

PageAnswer YahooSource::ChartPage(const std::string& requested, const std::string& mapped,
                                  std::int64_t utcSeconds, std::int64_t deadlineMs) {
    const PageAnswer unknown{AnswerKind::unknown, UnknownSymbolPage(requested, kYahooOrigin)};
    if (mapped.empty()) return unknown;
    const UpstreamResponse day = DayChart(mapped, deadlineMs);
    if (day.status == 404) return unknown;
    if (day.status != 200) return {};
    const UpstreamResponse year =
        PageCall(ChartCall(mapped, "?range=1y&interval=1d"), "chart page", deadlineMs);
    std::optional<ChartFacts> facts =
        YahooChartFacts(requested, day.body, year.status == 200 ? year.body : "");
    if (!facts) return {};
    facts->origin = std::string(kYahooOrigin) + ", " + UtcClockText(utcSeconds) + ".";
    return {AnswerKind::quote, ChartPageHtml(*facts)};
}

PageAnswer YahooSource::SummaryPage(std::int64_t utcSeconds, std::int64_t deadlineMs) {
    std::string list;
    for (const SummaryInstrument& entry : kSummaryInstruments)
        list += (list.empty() ? "" : ",") + UrlEncode(entry.symbol);
    std::string cookie, crumb;
    HeldSession(cookie, crumb);
    const UpstreamResponse got = PageCall({hosts_.query + "/v7/finance/spark?symbols=" + list +
                                               "&range=1d&interval=5m" + CrumbKey(crumb),
                                           YahooApiHeaders(hosts_.pages, cookie)},
                                          "summary", deadlineMs);
    if (got.status != 200) return {};
    const std::map<std::string, SparkSeries> sparks = ReadSpark(got.body);
    SummaryFacts facts;
    for (const SummaryInstrument& entry : kSummaryInstruments) {
        SummaryLine line;
        line.label = entry.label;
        if (const auto found = sparks.find(entry.symbol); found != sparks.end()) {
            const SparkSeries& s = found->second;
            line.decimals = s.decimals;
            line.last = s.last;
            line.path = s.closes;
            if (s.last && s.previousClose) {
                line.change = *s.last - *s.previousClose;
                if (*s.previousClose != 0)
                    line.changePercent = *line.change / *s.previousClose * 100;
            }
        }
        facts.lines.push_back(std::move(line));
    }
    for (const auto& [symbol, quote] : QuotedWithin(kMoversWithinMs)) {
        const auto pct = ChangePercentOf(quote);
        if (quote.last && pct) facts.movers.push_back({symbol, quote.name, *quote.last, *pct});
    }
    facts.moversFrom = "Gainers and losers among the symbols quoted in the last hour.";
    facts.origin = std::string(kYahooOrigin) + ", " + UtcClockText(utcSeconds) + ".";
    return {AnswerKind::quote, SummaryPageHtml(facts)};
}

PageAnswer YahooSource::NewsPage(const std::string& requested, const std::string& mapped,
                                 std::int64_t utcSeconds, std::int64_t deadlineMs) {
    const PageAnswer unknown{AnswerKind::unknown, UnknownSymbolPage(requested, kYahooOrigin)};
    if (mapped.empty()) return unknown;
    // The chart's meta names the symbol and its exchange's zone; a 404 there is no such symbol.
    const UpstreamResponse day = DayChart(mapped, deadlineMs);
    if (day.status == 404) return unknown;
    const std::optional<ChartFacts> chart =
        day.status == 200 ? YahooChartFacts(requested, day.body, "") : std::nullopt;
    const int offset = chart ? chart->utcOffsetSeconds : 0;
    const std::string origin = std::string(kYahooOrigin) + ", " + UtcClockText(utcSeconds) + ".";
    UpstreamRequest ask{
        hosts_.feeds + "/rss/2.0/headline?s=" + UrlEncode(mapped) + "&region=US&lang=en-US",
        {"Accept: application/rss+xml,application/xml;q=0.9,*/*;q=0.8",
         "Accept-Language: en-US,en;q=0.9"}};
    ask.page = true;  // a document, not data: its '<' is no throttling page
    const UpstreamResponse feed = PageCall(ask, "news", deadlineMs, kYahooNewsMs);
    // Failed: a later source may have the headlines; this page says why when none has.
    const auto none = [&](const std::string& why) {
        return PageAnswer{AnswerKind::none, NoNewsPage(requested, why, origin)};
    };
    if (feed.status != 200) {
        return none("Yahoo Finance's headlines could not be had (" +
                    (feed.status ? "status " + std::to_string(feed.status) : "no answer") + ").");
    }
    std::optional<std::vector<NewsItem>> items = ReadRssItems(feed.body, offset);
    if (!items) return none("Yahoo Finance's headline feed answered no feed.");
    const NewsFacts facts{requested, chart ? chart->name : "", std::move(*items), ZoneText(offset),
                          origin};
    return {AnswerKind::quote, NewsPageHtml(facts)};
}

namespace {

// The chart's bars as table.csv rows, newest first; a bar without its prices is left out.
std::string PriceTable(const Json& result) {
    const Json* meta = json::Field(result, "meta");
    const int decimals = meta ? Decimals(*meta, "priceHint") : 2;
    const std::int64_t offset = meta ? json::Integer(*meta, "gmtoffset").value_or(0) : 0;
    const Json* times = json::Field(result, "timestamp");
    const Json* open = ChartSeries(result, "quote", "open");
    const Json* high = ChartSeries(result, "quote", "high");
    const Json* low = ChartSeries(result, "quote", "low");
    const Json* close = ChartSeries(result, "quote", "close");
    const Json* volume = ChartSeries(result, "quote", "volume");
    const Json* adjusted = ChartSeries(result, "adjclose", "adjclose");
    std::vector<std::string> rows;
    for (std::size_t i = 0; times && times->is_array() && i < times->size(); ++i) {
        const auto o = SeriesAt(open, i), h = SeriesAt(high, i), l = SeriesAt(low, i),
                   c = SeriesAt(close, i);
        if (!(*times)[i].is_number() || !o || !h || !l || !c) continue;
        std::string row;
        AppendIsoDate(row, CivilFromDays(DayOf((*times)[i].get<std::int64_t>() + offset)));
        for (double price : {*o, *h, *l, *c}) {
            row += ',';
            AppendNumber(row, price, decimals);
        }
        row += ',';
        AppendDigits(
            row, static_cast<unsigned long long>(std::max(0.0, SeriesAt(volume, i).value_or(0))));
        row += ',';
        AppendNumber(row, SeriesAt(adjusted, i).value_or(*c), decimals);
        rows.push_back(row + "\n");
    }
    std::string table = kHistoryHeader;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) table += *row;
    return table;
}

std::string DividendRows(const Json& result) {
    const Json* meta = json::Field(result, "meta");
    const std::int64_t offset = meta ? json::Integer(*meta, "gmtoffset").value_or(0) : 0;
    const Json* events = json::Field(result, "events");
    const Json* dividends = events ? json::Field(*events, "dividends") : nullptr;
    std::vector<std::pair<std::int64_t, double>> paid;
    if (dividends && dividends->is_object()) {
        for (const auto& item : dividends->items()) {
            const auto date = json::Integer(item.value(), "date");
            const auto amount = json::Number(item.value(), "amount");
            if (date && amount) paid.emplace_back(*date, *amount);
        }
    }
    std::sort(paid.rbegin(), paid.rend());
    std::string table = kDividendHeader;
    for (const auto& [date, amount] : paid) {
        AppendIsoDate(table, CivilFromDays(DayOf(date + offset)));
        table += ',';
        AppendNumber(table, amount, 4);
        table += "00\n";
    }
    return table;
}

const char* ChartInterval(HistoryInterval interval) {
    switch (interval) {
        case HistoryInterval::week: return "1wk";
        case HistoryInterval::month: return "1mo";
        default: return "1d";
    }
}

}  // namespace

HistoryAnswer YahooSource::History(std::string_view query, std::int64_t utcSeconds,
                                   std::int64_t deadlineMs) {
    const auto s = QueryValue(query, "s");
    const std::string symbol = YahooSymbol(s ? PercentDecode(*s) : std::string());
    if (symbol.empty()) return {AnswerKind::unknown, {}};
    const HistoryRange range = ReadHistoryRange(query, DayOf(utcSeconds));
    if (range.lastDay < range.firstDay) return {AnswerKind::quote, kHistoryHeader};  // no call
    std::string url = hosts_.query + "/v8/finance/chart/" + UrlEncode(symbol) +
                      "?period1=" + std::to_string(range.firstDay * 86400) +
                      "&period2=" + std::to_string((range.lastDay + 1) * 86400) +
                      "&interval=" + ChartInterval(range.interval);
    if (range.interval == HistoryInterval::dividends) url += "&events=div";
    std::string cookie, crumb;
    HeldSession(cookie, crumb);
    url += CrumbKey(crumb);
    const UpstreamResponse r =
        Call({{url, YahooApiHeaders(hosts_.pages, cookie)}}, "history", 1, deadlineMs).front();
    if (r.status == 404) return {AnswerKind::unknown, {}};
    if (r.status != 200) return {};
    const Json body = json::Parse(r.body);
    const Json* chart = ChartResult(body);
    if (!chart) {
        Failed(nullptr, "the chart answered no history");
        return {};
    }
    Succeeded();
    if (range.interval == HistoryInterval::dividends)
        return {AnswerKind::quote, DividendRows(*chart)};
    return {AnswerKind::quote, PriceTable(*chart)};
}

}  // namespace quotes
