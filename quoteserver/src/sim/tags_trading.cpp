#include <algorithm>
#include <cmath>

#include "common/number_text.h"
#include "sim/tag_writers.h"

namespace quotes::tags {
namespace {

bool Price(std::string& out, const TagContext& c, double value) {
    AppendNumber(out, value, c.quote.decimals);
    return true;
}

bool Difference(std::string& out, const TagContext& c, double from) {
    AppendSigned(out, c.quote.last - from, c.quote.decimals);
    return true;
}

// How far the price is from a reference: bare when above it, "-3.40" below.
bool Distance(std::string& out, const TagContext& c, double from) {
    AppendNumber(out, c.quote.last - from, c.quote.decimals);
    return true;
}

bool PercentFrom(std::string& out, const TagContext& c, double from) {
    if (!(from > 0)) return false;
    AppendPercent(out, (c.quote.last - from) / from * 100);
    return true;
}

// Half the spread between bid and ask: a tick at least, four hundredths of a percent of the
// price otherwise, so the bid stays below the ask after rounding.
double HalfSpread(const Quote& q) {
    const double tick = q.decimals == 4 ? 0.0001 : 0.01;
    return std::max(tick, std::round(q.last * 0.0002 / tick) * tick);
}

}  // namespace

bool Symbol(std::string& out, const TagContext& c) {
    out += c.symbol;
    return true;
}

bool Name(std::string& out, const TagContext& c) {
    out += c.instrument.name;
    return true;
}

bool LastTrade(std::string& out, const TagContext& c) {
    return Price(out, c, c.quote.last);
}

// "4:00pm - <b>27.87</b>"
bool LastTradeWithTime(std::string& out, const TagContext& c) {
    AppendTradeTime(out, c.quote.tradeMinute);
    out += " - <b>";
    AppendNumber(out, c.quote.last, c.quote.decimals);
    out += "</b>";
    return true;
}

bool PreviousClose(std::string& out, const TagContext& c) {
    return Price(out, c, c.quote.prevClose);
}

bool Open(std::string& out, const TagContext& c) {
    return c.quote.open && Price(out, c, *c.quote.open);
}

bool Change(std::string& out, const TagContext& c) {
    return Difference(out, c, c.quote.prevClose);
}

bool ChangePercent(std::string& out, const TagContext& c) {
    if (!PercentFrom(out, c, c.quote.prevClose)) AppendPercent(out, 0);
    return true;
}

// "+0.50 - +1.83%"
bool ChangeAndPercent(std::string& out, const TagContext& c) {
    Change(out, c);
    out += " - ";
    return ChangePercent(out, c);
}

bool DayLow(std::string& out, const TagContext& c) {
    return c.quote.traded && Price(out, c, c.quote.dayLow);
}

bool DayHigh(std::string& out, const TagContext& c) {
    return c.quote.traded && Price(out, c, c.quote.dayHigh);
}

// "26.93 - 29.55"
bool DayRange(std::string& out, const TagContext& c) {
    if (!c.quote.traded) return false;
    Price(out, c, c.quote.dayLow);
    out += " - ";
    return Price(out, c, c.quote.dayHigh);
}

bool YearLow(std::string& out, const TagContext& c) {
    return Price(out, c, c.quote.yearLow);
}

bool YearHigh(std::string& out, const TagContext& c) {
    return Price(out, c, c.quote.yearHigh);
}

bool YearRange(std::string& out, const TagContext& c) {
    Price(out, c, c.quote.yearLow);
    out += " - ";
    return Price(out, c, c.quote.yearHigh);
}

bool FromYearLow(std::string& out, const TagContext& c) {
    return Distance(out, c, c.quote.yearLow);
}

bool FromYearLowPercent(std::string& out, const TagContext& c) {
    return PercentFrom(out, c, c.quote.yearLow);
}

bool FromYearHigh(std::string& out, const TagContext& c) {
    return Difference(out, c, c.quote.yearHigh);
}

bool FromYearHighPercent(std::string& out, const TagContext& c) {
    return PercentFrom(out, c, c.quote.yearHigh);
}

bool Average50(std::string& out, const TagContext& c) {
    return Price(out, c, c.quote.movingAverage50);
}

bool Average200(std::string& out, const TagContext& c) {
    return Price(out, c, c.quote.movingAverage200);
}

bool FromAverage200(std::string& out, const TagContext& c) {
    return Distance(out, c, c.quote.movingAverage200);
}

bool FromAverage200Percent(std::string& out, const TagContext& c) {
    return PercentFrom(out, c, c.quote.movingAverage200);
}

bool FromAverage50(std::string& out, const TagContext& c) {
    return Distance(out, c, c.quote.movingAverage50);
}

bool FromAverage50Percent(std::string& out, const TagContext& c) {
    return PercentFrom(out, c, c.quote.movingAverage50);
}

bool Volume(std::string& out, const TagContext& c) {
    if (!c.quote.volume) return false;
    AppendDigits(out, *c.quote.volume);
    return true;
}

bool AverageVolume(std::string& out, const TagContext& c) {
    if (!c.quote.averageVolume) return false;
    AppendDigits(out, *c.quote.averageVolume);
    return true;
}

namespace {

bool Count(std::string& out, const std::optional<std::uint64_t>& value) {
    if (!value) return false;
    AppendDigits(out, *value);
    return true;
}

}  // namespace

bool BidSize(std::string& out, const TagContext& c) {
    return Count(out, c.quote.bidSize);
}

bool AskSize(std::string& out, const TagContext& c) {
    return Count(out, c.quote.askSize);
}

bool LastTradeSize(std::string& out, const TagContext& c) {
    return Count(out, c.quote.lastTradeSize);
}

// Indices have no book to bid or ask in.
bool Bid(std::string& out, const TagContext& c) {
    if (c.instrument.kind == InstrumentKind::index) return false;
    return Price(out, c, c.quote.last - HalfSpread(c.quote));
}

bool Ask(std::string& out, const TagContext& c) {
    if (c.instrument.kind == InstrumentKind::index) return false;
    return Price(out, c, c.quote.last + HalfSpread(c.quote));
}

bool TradeDate(std::string& out, const TagContext& c) {
    AppendTradeDate(out, c.quote.tradeDate);
    return true;
}

bool TradeTime(std::string& out, const TagContext& c) {
    AppendTradeTime(out, c.quote.tradeMinute);
    return true;
}

// The USA's stocks are on Nasdaq ("NMS") when their symbol has four letters or more, as
// Nasdaq's had, and on the NYSE ("NYQ") otherwise; its indices are the index service's.
bool Exchange(std::string& out, const TagContext& c) {
    const Market& market = *c.instrument.market;
    if (!market.suffix.empty()) {
        out += market.exchange;
    } else if (c.instrument.kind == InstrumentKind::index) {
        out += "SNP";
    } else {
        out += c.instrument.symbol.size() >= 4 ? "NMS" : "NYQ";
    }
    return true;
}

// A currency pair is quoted in its second currency: "EURUSD=X" in "USD".
bool Currency(std::string& out, const TagContext& c) {
    const std::string& symbol = c.instrument.symbol;
    if (c.instrument.kind == InstrumentKind::currency && symbol.size() == 8) {
        out += symbol.substr(3, 3);
    } else {
        out += c.instrument.market->currency;
    }
    return true;
}

bool KnownSymbol(std::string& out, const TagContext&) {
    out += kNotAvailable;
    return true;
}

}  // namespace quotes::tags
