#include "sim/simulated_values.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quotes {
namespace {

// The USA's stocks are on Nasdaq ("NMS") when their symbol has four letters or more, as
// Nasdaq's had, and on the NYSE ("NYQ") otherwise; its indices are the index service's.
std::string_view ExchangeOf(const Instrument& instrument) {
    const Market& market = *instrument.market;
    if (!market.suffix.empty()) return market.exchange;
    if (instrument.kind == InstrumentKind::index) return "SNP";
    return instrument.symbol.size() >= 4 ? "NMS" : "NYQ";
}

// A currency pair is quoted in its second currency: "EURUSD=X" in "USD".
std::string_view CurrencyOf(const Instrument& instrument) {
    const std::string_view symbol = instrument.symbol;
    if (instrument.kind == InstrumentKind::currency && symbol.size() == 8)
        return symbol.substr(3, 3);
    return instrument.market->currency;
}

// Half the spread between bid and ask: a tick at least, four hundredths of a percent of the
// price otherwise, so the bid stays below the ask after rounding.
double HalfSpread(const Quote& q) {
    const double tick = q.decimals == 4 ? 0.0001 : 0.01;
    return std::max(tick, std::round(q.last * 0.0002 / tick) * tick);
}

double Hundredths(double value) {
    return std::round(value * 100) / 100;
}

void FillTrading(const Instrument& instrument, const Quote& q, QuoteValues& v) {
    v.decimals = q.decimals;
    v.last = q.last;
    v.previousClose = q.prevClose;
    v.changePercent = 0;  // a previous close of 0: unchanged
    v.open = q.open;
    if (q.traded) {
        v.dayLow = q.dayLow;
        v.dayHigh = q.dayHigh;
    }
    v.yearLow = q.yearLow;
    v.yearHigh = q.yearHigh;
    v.average50 = q.movingAverage50;
    v.average200 = q.movingAverage200;
    v.volume = q.volume;
    v.averageVolume = q.averageVolume;
    v.bidSize = q.bidSize;
    v.askSize = q.askSize;
    v.lastTradeSize = q.lastTradeSize;
    // Indices have no book to bid or ask in.
    if (instrument.kind != InstrumentKind::index) {
        v.bid = q.last - HalfSpread(q);
        v.ask = q.last + HalfSpread(q);
    }
    v.tradeDate = q.tradeDate;
    v.tradeMinute = q.tradeMinute;
    v.sharesOutstanding = q.sharesOutstanding;
    // The shares the public holds: nine in ten, in the form of the shares outstanding.
    if (q.sharesOutstanding) v.floatShares = std::round(*q.sharesOutstanding * 0.9 / 1e4) * 1e4;
}

// Earnings as the line shows them, rounded to hundredths, grown by `factor`: the ratios divide
// by what a client sees. None unless above 0 (but for the earnings themselves).
std::optional<double> PositiveEps(const std::optional<double>& shown, double factor) {
    if (!shown || *shown <= 0) return std::nullopt;
    return Hundredths(*shown * factor);
}

// Companies report in the currency unit (pounds, shekels); a line quoted in the minor unit
// (pence, agorot: its c4 says so) gives every money figure in that unit, as the historical
// service did.
void FillReports(const Quote& q, QuoteValues& v) {
    const double minor = q.quoteUnitsPerMoney;
    const Fundamentals* f = q.fundamentals ? &*q.fundamentals : nullptr;
    if (q.eps) v.eps = Hundredths(*q.eps * minor);
    // The next year's and quarter's estimates grow the earnings at the expected rate.
    const double growth = f ? f->epsGrowth : 0.1;
    v.epsThisYear = PositiveEps(v.eps, 1 + growth / 2);
    v.epsNextYear = PositiveEps(v.eps, 1 + growth * 1.5);
    v.epsNextQuarter = PositiveEps(v.eps, (1 + growth / 2) / 4);
    const auto eps = PositiveEps(v.eps, 1);
    if (!f) return;
    if (eps) v.priceEarningsGrowth = q.last / *eps / (growth * 100);  // P/E over growth in %
    v.bookValue = Hundredths(f->bookValue * minor);
    v.salesPerShare = f->salesPerShare * minor;
    if (q.sharesOutstanding) {
        v.revenue = f->salesPerShare * minor * *q.sharesOutstanding;
        v.ebitda = f->ebitdaPerShare * minor * *q.sharesOutstanding;
    }
    v.shortRatio = f->shortRatio;
    v.yearTarget = q.prevClose * f->targetFactor;
    if (!f->dividend) return;
    v.dividend = *f->dividend * minor;
    if (q.last > 0) v.dividendYield = Hundredths(*f->dividend * minor) / q.last * 100;
    const DividendDates dates = LastDividendDates(*f, q.tradeDate);
    v.exDividendDate = dates.exDividend;
    v.dividendPayDate = dates.payment;
}

}  // namespace

QuoteValues SimulatedValues(const Instrument& instrument, const Quote& quote) {
    QuoteValues v;
    v.name = instrument.name;
    v.currency = CurrencyOf(instrument);
    v.exchange = ExchangeOf(instrument);
    FillTrading(instrument, quote, v);
    FillReports(quote, v);
    return v;
}

const QuoteValues& SimulatedValuesAt(const Instrument& instrument, std::int64_t utcSeconds) {
    struct Kept {
        std::int64_t second = std::numeric_limits<std::int64_t>::min();
        QuoteValues values;
    };
    thread_local Kept outside;
    Kept* slot = ThreadSlotOf<Kept>(instrument);
    if (!slot) {  // an instrument from outside the universe (tests): worked out every time
        slot = &outside;
        slot->second = std::numeric_limits<std::int64_t>::min();
    }
    if (slot->second != utcSeconds) {
        slot->values = SimulatedValues(instrument, SimulateQuote(instrument, utcSeconds));
        slot->second = utcSeconds;
    }
    return slot->values;
}

}  // namespace quotes
