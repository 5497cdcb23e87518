#include "relay/live_values.h"

#include <cmath>

namespace quotes {
namespace {

using Figure = std::optional<double>;

// A figure no quote could hold (NaN, infinite, a thousand billion billions) is none: its tags
// answer N/A, and so do those worked out from it.
constexpr double kMostFigure = 1e15;

bool Sane(double value) {
    return std::isfinite(value) && std::fabs(value) < kMostFigure;
}

Figure Kept(Figure value) {
    return value && Sane(*value) ? value : std::nullopt;
}

Figure Scaled(Figure major, double factor) {
    if (!major) return std::nullopt;
    return Kept(*major * factor);
}

// The exchange's date and minute of an instant at an offset from UTC; a trade's date is the
// exchange's, a dividend's a calendar date kept as midnight UTC.
void LocalTime(std::optional<std::int64_t> utc, int offset, std::optional<CivilDate>& date,
               std::optional<int>* minute) {
    if (!utc || *utc <= 0) return;
    const std::int64_t local = *utc + offset;
    const std::int64_t day = DayOf(local);
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
    v.last = Kept(q.last);
    v.previousClose = Kept(q.previousClose);
    v.open = Kept(q.open);
    v.dayHigh = Kept(q.dayHigh);
    v.dayLow = Kept(q.dayLow);
    v.yearHigh = Kept(q.yearHigh);
    v.yearLow = Kept(q.yearLow);
    // The source's change comes from its price: with an absurd price it is none either.
    const bool priced = !q.last || Sane(*q.last);
    v.change = priced ? Kept(q.change) : std::nullopt;
    v.changePercent = priced ? Kept(q.changePercent) : std::nullopt;
    v.bid = Kept(q.bid);
    v.ask = Kept(q.ask);
    v.average50 = Kept(q.average50);
    v.average200 = Kept(q.average200);
    v.volume = q.volume;
    v.averageVolume = q.averageVolume;
    const double minor = q.MinorPerMajor();
    v.eps = Scaled(q.eps, minor);
    v.epsThisYear = Scaled(q.epsThisYear, minor);
    v.epsNextYear = Scaled(q.epsNextYear, minor);
    v.bookValue = Scaled(q.bookValue, minor);
    v.dividend = Scaled(q.dividend, minor);
    v.marketCap = Scaled(q.marketCap, minor);
    v.priceEarnings = Kept(q.priceEarnings);
    v.dividendYield = Kept(q.dividendYield);
    v.sharesOutstanding = Kept(q.sharesOutstanding);
    LocalTime(q.tradeTime, q.utcOffsetSeconds, v.tradeDate, &v.tradeMinute);
    LocalTime(q.exDividendDate, 0, v.exDividendDate, nullptr);
    LocalTime(q.dividendDate, 0, v.dividendPayDate, nullptr);
    return v;
}

}  // namespace quotes
