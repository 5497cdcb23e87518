#include "relay/providers/yahoo_chart_page.h"

#include "common/market_time.h"
#include "pages/symbol_pages.h"
#include "relay/json_fields.h"
#include "relay/providers/yahoo_chart_json.h"

namespace quotes {
namespace {

using json::Json;

// The bars with a close, at the exchange's own time.
std::vector<PriceBar> Bars(const Json& result, std::int64_t offset) {
    std::vector<PriceBar> bars;
    const Json* times = json::Field(result, "timestamp");
    if (!times || !times->is_array()) return bars;
    const Json *open = ChartSeries(result, "quote", "open"),
               *high = ChartSeries(result, "quote", "high"),
               *low = ChartSeries(result, "quote", "low"),
               *close = ChartSeries(result, "quote", "close"),
               *volume = ChartSeries(result, "quote", "volume");
    for (std::size_t i = 0; i < times->size(); ++i) {
        const auto c = SeriesAt(close, i);
        if (!(*times)[i].is_number_integer() || !c) continue;
        PriceBar bar;
        bar.localSeconds = (*times)[i].get<std::int64_t>() + offset;
        bar.close = *c;
        bar.open = SeriesAt(open, i).value_or(*c);
        bar.high = SeriesAt(high, i).value_or(*c);
        bar.low = SeriesAt(low, i).value_or(*c);
        bar.volume = SeriesAt(volume, i).value_or(0);
        bars.push_back(bar);
    }
    return bars;
}

}  // namespace

std::optional<ChartFacts> YahooChartFacts(const std::string& requested, const std::string& dayBody,
                                          const std::string& yearBody) {
    const Json day = json::Parse(dayBody), year = json::Parse(yearBody);
    const Json* today = ChartResult(day);
    const Json* meta = today ? json::Field(*today, "meta") : nullptr;
    if (!meta || !meta->is_object()) return std::nullopt;
    const std::int64_t offset = json::Integer(*meta, "gmtoffset").value_or(0);
    ChartFacts f;
    f.symbol = requested;
    f.utcOffsetSeconds = static_cast<int>(offset);
    f.name = json::Text(*meta, "longName");
    if (f.name.empty()) f.name = json::Text(*meta, "shortName");
    f.exchange = json::Text(*meta, "fullExchangeName");
    f.currency = json::Text(*meta, "currency");
    f.decimals = static_cast<int>(json::Integer(*meta, "priceHint").value_or(2));
    if (f.decimals < 0 || f.decimals > 6) f.decimals = 2;
    f.last = json::Number(*meta, "regularMarketPrice");
    f.previousClose = json::Number(*meta, "previousClose");
    f.dayLow = json::Number(*meta, "regularMarketDayLow");
    f.dayHigh = json::Number(*meta, "regularMarketDayHigh");
    f.yearLow = json::Number(*meta, "fiftyTwoWeekLow");
    f.yearHigh = json::Number(*meta, "fiftyTwoWeekHigh");
    if (const auto v = json::Count(*meta, "regularMarketVolume"))
        f.volume = static_cast<double>(*v);
    if (const auto t = json::Integer(*meta, "regularMarketTime"))
        f.quoteTime = ClockText(*t + offset);
    const Json* period = json::Field(*meta, "currentTradingPeriod");
    const Json* regular = period ? json::Field(*period, "regular") : nullptr;
    // Today's chart is of one session: the last bar's day (a longer answer is cut to it).
    f.intraday = Bars(*today, offset);
    if (!f.intraday.empty()) {
        const std::int64_t lastDay = DayOf(f.intraday.back().localSeconds);
        std::erase_if(f.intraday,
                      [&](const PriceBar& bar) { return DayOf(bar.localSeconds) != lastDay; });
    }
    if (regular && !f.intraday.empty()) {
        const auto start = json::Integer(*regular, "start"), end = json::Integer(*regular, "end");
        // The session the bars are of: today's, or the last one when the market is closed.
        if (start && end && *end > *start && *start + offset <= f.intraday.front().localSeconds) {
            f.sessionOpen = *start + offset;
            f.sessionClose = *end + offset;
        }
    }
    if (const Json* history = ChartResult(year)) {
        const Json* yearMeta = json::Field(*history, "meta");
        const std::int64_t yearOffset =
            yearMeta ? json::Integer(*yearMeta, "gmtoffset").value_or(offset) : offset;
        f.daily = Bars(*history, yearOffset);
    }
    // The close before today's session: the chart's own, else the year's close before today,
    // else the close before the range asked (on a one-day range, yesterday's).
    const std::size_t days = f.daily.size();
    if (!f.previousClose && days >= 2 && !f.intraday.empty() &&
        DayOf(f.daily.back().localSeconds) == DayOf(f.intraday.back().localSeconds))
        f.previousClose = f.daily[days - 2].close;
    if (!f.previousClose) f.previousClose = json::Number(*meta, "chartPreviousClose");
    if (f.last && f.previousClose) {
        f.change = *f.last - *f.previousClose;
        if (*f.previousClose != 0) f.changePercent = *f.change / *f.previousClose * 100;
    }
    return f;
}

}  // namespace quotes
