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

}  // namespace quotes
