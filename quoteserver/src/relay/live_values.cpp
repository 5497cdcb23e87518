#include "relay/live_values.h"

namespace quotes {
namespace {

using Figure = std::optional<double>;

Figure Scaled(Figure major, double factor) {
    if (!major) return std::nullopt;
    return *major * factor;
}

// The exchange's date and minute of an instant at an offset from UTC; a trade's date is the
// exchange's, a dividend's a calendar date kept as midnight UTC.
void LocalTime(std::optional<std::int64_t> utc, int offset, std::optional<CivilDate>& date,
               std::optional<int>* minute) {
    if (!utc || *utc <= 0) return;
    const std::int64_t local = *utc + offset;
    const std::int64_t day = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    date = CivilFromDays(day);
    if (minute) *minute = static_cast<int>((local - day * 86400) / 60);
}

}  // namespace

QuoteValues LiveValues(const LiveQuote& q) {
    QuoteValues v;
    v.name = q.name;
    v.currency = q.currency;
    v.exchange = q.exchange;
    v.decimals = q.decimals;
    v.last = q.last;
    v.previousClose = q.previousClose;
    v.open = q.open;
    v.dayHigh = q.dayHigh;
    v.dayLow = q.dayLow;
    v.yearHigh = q.yearHigh;
    v.yearLow = q.yearLow;
    v.change = q.change;
    v.changePercent = q.changePercent;
    v.bid = q.bid;
    v.ask = q.ask;
    v.average50 = q.average50;
    v.average200 = q.average200;
    v.volume = q.volume;
    v.averageVolume = q.averageVolume;
    const double minor = q.MinorPerMajor();
    v.eps = Scaled(q.eps, minor);
    v.epsThisYear = Scaled(q.epsThisYear, minor);
    v.epsNextYear = Scaled(q.epsNextYear, minor);
    v.bookValue = Scaled(q.bookValue, minor);
    v.dividend = Scaled(q.dividend, minor);
    v.marketCap = Scaled(q.marketCap, minor);
    v.priceEarnings = q.priceEarnings;
    v.dividendYield = q.dividendYield;
    v.sharesOutstanding = q.sharesOutstanding;
    LocalTime(q.tradeTime, q.utcOffsetSeconds, v.tradeDate, &v.tradeMinute);
    LocalTime(q.exDividendDate, 0, v.exDividendDate, nullptr);
    LocalTime(q.dividendDate, 0, v.dividendPayDate, nullptr);
    return v;
}

}  // namespace quotes
